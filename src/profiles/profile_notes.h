#pragma once
// The user's own data of an installed profile, whether it is open or not: its backups kept when
// the profile is deleted, and exporting and importing its notes. Shared by the profile manager
// and tkv.

#include <optional>
#include <string>

#include "database/notes_file.h"
#include "database/profile_record.h"

namespace tkv {

// The profile's user.dat.
std::string profile_user_dat_path(const std::string& program_folder, const PROFILES_TYPE& p);
// Whether the profile's folder holds backups of its user.dat.
bool profile_has_backups(const std::string& program_folder, const PROFILES_TYPE& p);
// Where a deleted profile's backups are kept: the program folder's backups/<profile id>/ (the
// profile's folder name when the id cannot name a folder).
std::string profile_kept_backups_folder(const std::string& program_folder, const PROFILES_TYPE& p);
// Moves the profile's backups there, before the profile is deleted with all its files.
void profile_keep_backups(const std::string& program_folder, const PROFILES_TYPE& p);

// Writes the export of the profile's user data to path; the problem, or nothing when written.
// games gets how many games it holds.
std::optional<std::string> profile_notes_export(const std::string& program_folder, const PROFILES_TYPE& p,
                                                const std::string& path, std::size_t& games);
// Merges the file into the profile and saves its user.dat (after a backup) when anything
// changed; the problem, or nothing. Nothing changes on a problem.
std::optional<std::string> profile_notes_import(const std::string& program_folder, PROFILES_TYPE& p,
                                                const NotesFile& file, NotesImport& report);

} // namespace tkv
