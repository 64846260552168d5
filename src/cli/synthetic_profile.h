#pragma once
// Synthetic profiles for benchmarks and tests: realistic, distinct game names and texts,
// deterministic for a seed.

#include <cstdint>
#include <optional>
#include <string>

#include "database/game_types.h"
#include "database/profile_record.h"

namespace tkv {

struct SyntheticOptions {
    std::size_t games = 100;
    std::uint64_t seed = 1;
    std::size_t rows = 0;         // total name lines; 0 gives 1-3 names per game at random
    std::string id = "synthetic"; // the profile id, in the profile's code page (Windows-1252)
};

struct SyntheticProfile {
    PROFILES_TYPE profile;
    GameDatabase db; // info_types and games, ids 1..games
};

// Empty when the options cannot be met (more games than the table holds, rows outside
// games..3*games).
std::optional<SyntheticProfile> generate_profile(const SyntheticOptions& options);

} // namespace tkv
