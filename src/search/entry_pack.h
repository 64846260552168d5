#pragma once
// The texts of one game as the index keeps them beside its word lists: packed and compressed, so
// that a hit's snippet is made without reading main.dat again and a changed game's words can be
// taken out of the index after its block is gone.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "search/game_documents.h"

namespace tkv {

std::string pack_entries(const std::vector<SearchEntry>& entries);
// nullopt when the bytes are not what pack_entries wrote (a damaged index).
std::optional<std::vector<SearchEntry>> unpack_entries(std::string_view packed);

} // namespace tkv
