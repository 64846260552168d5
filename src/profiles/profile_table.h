#pragma once
// The table of installed profiles: discovery under profiles/, sorting, search by id, selecting
// the current profile and deleting one from disk.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "database/profile_record.h"
#include "shell/options.h"
#include "shell/variables.h"

namespace tkv {

constexpr std::size_t profiles_max = 100;

struct ProfileTable {
    std::vector<PROFILES_TYPE> profiles; // at most profiles_max entries
    int profile_index = 0;               // the current profile
};

// Empties the table and fills it from the sub-folders of profiles_folder() in the
// order the system lists them, creating that folder when it is missing.
void profiles_ini_load(ProfileTable& t, const std::string& program_folder);

// Appends profiles_folder + folder when its main.dat header makes it a profile and the table
// has room; true when it was appended.
bool profile_ini_load(ProfileTable& t, const std::string& profiles_folder, const std::string& folder);

// Sorts entries first..last (inclusive, clamped to the table) by name with A..Z folded.
void profiles_sort(ProfileTable& t, std::size_t first, std::size_t last);

// -1 for an empty table; otherwise the first profile whose id matches ignoring letter case,
// or 0 when id is empty or matches none.
int profiles_search(const ProfileTable& t, std::string_view id);

// The profile whose id equals a text given as UTF-8 (command line, launcher, tkv), letter case
// ignored; ids are stored in their profile's code page, so the text is compared in each one's.
// -1 when none matches.
int profiles_find_utf8(const ProfileTable& t, std::string_view utf8_id);

// Whether "last profile autorun" may start a profile: it is on and "last profile id" names an
// installed profile (a first start has none, and must not open a profile the user never chose).
bool last_profile_autorun_allowed(const ProfileTable& t, const OPTIONS_TYPE& options);

// Whether any profile has this id, ignoring letter case.
bool profiles_new_check_exist(const ProfileTable& t, std::string_view id);

// Points the database paths of v at the profile's main.dat and user.dat.
void profile_paths_set(VARIABLES_PROGRAM& v, const PROFILES_TYPE& p);

// Makes entry index the current profile and remembers its id as the last profile started;
// an index outside the table changes nothing.
void profile_select(ProfileTable& t, int index, OPTIONS_TYPE& options, VARIABLES_PROGRAM& v);

// Deletes the profile's main.dat and, with delete_all_files, the files of its folder, its
// backups/ and files/ sub-folders and the folders when they end up empty; then the last entry takes its
// slot. File-system errors are ignored. An index outside the table changes nothing.
void profile_delete(ProfileTable& t, std::size_t index, const std::string& program_folder,
                    bool delete_all_files);

// Removes every empty folder directly under profiles_folder().
void profiles_remove_empty_folders(const std::string& program_folder);

} // namespace tkv
