#pragma once
// What users send the publisher: their user.dat, as a file or attached to a saved e-mail. Read for
// a profile's source, their texts become contributions (notes on the source's games and new games),
// folded across contributors, and accepted ones are written into the source folder so that the
// next build and publish bring them to every user.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/profile_source.h"

namespace tkv {

// A bigger file is refused unread.
constexpr std::int64_t contribution_file_bytes_max = std::int64_t{64} << 20;
// One name of a game; a longer one is taken for hostile.
constexpr std::size_t contribution_name_bytes_max = 1000;

struct Contributor {
    std::string file;   // as it was given
    std::string sender; // the message's From (UTF-8); empty for a user.dat sent as it is
};

// One text of a user's on a game, in the profile's code page.
struct Contribution {
    int id = 0;                    // 1, 2, ... in the order of the files and of their records
    std::int32_t publisher_id = 0; // as user.dat holds it: 0 for a game the user made
    std::string names;             // CR LF between names, the title first
    std::string text;              // CR LF between lines, no blank lines at either end
    std::vector<Contributor> from;
};

struct ContributionRefusal {
    std::string file;
    std::string why;
};

struct Contributions {
    std::vector<Contribution> items;
    std::vector<ContributionRefusal> refused; // files of which nothing was taken
};

// Reads each file (a user.dat, or a message with user.dat attached) for the profile. A file that is
// no user.dat, is cut short, belongs to another profile or holds hostile names or texts is refused
// whole. Launch settings are the user's own and are never taken; the same text on the same game
// from several files is one contribution with every contributor.
Contributions read_contributions(const std::vector<std::string>& files, const PROFILES_TYPE& profile);

// Where a contribution goes in the source, by the rule that attaches user.dat's records.
struct Placement {
    enum class Kind { note, new_game, present };
    Kind kind = Kind::new_game;
    const SourceGame* game = nullptr; // note, present: the game the text attaches to
};
std::vector<Placement> place_contributions(const ProfileSource& source,
                                           const std::vector<Contribution>& items);

// The section line an accepted text is filed under, "@info #N" or "@info Name" (UTF-8): `wanted` is
// a type's number or name in types.txt, or a new category's name; by default the first type whose
// name holds "hint", else the category "Readers' tips". Empty with `error` set when unusable.
std::string contribution_section(const ProfileSource& source, const std::optional<std::string>& wanted,
                                 std::string& error);

struct AcceptResult {
    std::vector<std::string> lines; // what was done, one line per accepted contribution
    std::string error;              // set: nothing was written
};

// Writes the contributions `ids` into the source folder: a note becomes a new entry of its game (the
// file's other lines kept, its revision raised), a new game a new file with the next free id. A text
// already in the source is left out; two new games whose names fit are one game.
AcceptResult accept_contributions(const std::string& folder, const ProfileSource& source,
                                  const Contributions& contributions, const std::vector<int>& ids,
                                  const std::string& section);

} // namespace tkv
