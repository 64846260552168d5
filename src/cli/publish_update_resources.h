#pragma once
// The binary resources of a profile's database upgrade: the list of games with their revisions,
// the information types, and one record file per game. Each begins with its length-prefixed
// name; integers are big-endian.

#include <cstdint>
#include <string>
#include <vector>

#include "database/game_types.h"

namespace tkv::cli {

// profiles/ID/list.tkv: (id, revision) of every publisher game in ascending id, ended by id 0.
std::string game_list_resource(const std::vector<GAMES2_ARRAY_TYPE>& games);

// profiles/ID/informationtypes.tkv.
std::string information_types_resource(const std::vector<INFO_TYPE_ENTRY>& types);

// profiles/ID/information/NNNNN.dat: one game with its compressed block as stored.
std::string game_record_resource(const GAMES2_ARRAY_TYPE& game);
// The record file's name: the id with at least five digits, "00042.dat".
std::string game_record_file_name(std::int32_t id);

} // namespace tkv::cli
