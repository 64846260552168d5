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

// Where a text goes in the source, by the rule that attaches user.dat's records.
struct Placement {
    enum class Kind { note, new_game, present };
    Kind kind = Kind::new_game;
    const SourceGame* game = nullptr; // note, present: the game the text attaches to
};

// One text of a user's on a game, in the profile's code page.
struct Contribution {
    // Eight hex digits made from the text and where it goes, so that the same contribution has the
    // same id whatever other files are read and in whatever order: what was reviewed is accepted.
    std::string id;
    Placement place;
    std::string names; // CR LF between names, the title first, none blank
    std::string text;  // CR LF between lines, no blank lines at either end
    std::vector<Contributor> from;
};

struct ContributionRefusal {
    std::string file;
    std::string why; // printable: no control characters
};

struct Contributions {
    std::vector<Contribution> items;          // in the order of the files and of their records
    std::vector<ContributionRefusal> refused; // files of which nothing was taken
};

// Reads each file (a user.dat, or a message with user.dat attached) for the source's profile. A file
// that is no user.dat, is cut short, belongs to another profile or holds hostile names or texts is
// refused whole. Launch settings are the user's own and are never taken. The same text going to the
// same game, from one file or several, is one contribution with every contributor.
Contributions read_contributions(const std::vector<std::string>& files, const ProfileSource& source);

// The section line an accepted text is filed under, "@info #N" or "@info Name" (UTF-8): `wanted` is
// a type's number or name in types.txt, or a new category's name; by default the first type whose
// name holds "hint", else the category "Readers' tips". Empty with `error` set when unusable.
std::string contribution_section(const ProfileSource& source, const std::optional<std::string>& wanted,
                                 std::string& error);

struct AcceptResult {
    std::vector<std::string> lines; // what was done, one line per accepted contribution
    // Set when it stopped: nothing was written, unless a file could not be written, which it names
    // with the number of files written before it.
    std::string error;
};

// Writes the contributions `ids` into the source folder: a note becomes a new entry of its game (the
// file's other lines kept, its revision raised), a new game a new file with the next free id. A text
// already in the source is left out; two new games whose names fit are one game.
AcceptResult accept_contributions(const std::string& folder, const ProfileSource& source,
                                  const Contributions& contributions, const std::vector<std::string>& ids,
                                  const std::string& section);

} // namespace tkv
