#pragma once
// File and folder helpers. None throws: every failure is reported through the result.
// Paths use "/"; folder texts end with "/".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/datetime.h"

namespace tkv {

std::string folder_of_path(std::string_view p);    // up to and including the last "/"
std::string file_name_of_path(std::string_view p); // after the last "/"
std::string base_name_of_path(std::string_view p); // file name without the part from its last dot
std::string with_trailing_slash(std::string_view folder);

std::int64_t file_size(const std::string& p); // -1 when not found
DateTime file_date(const std::string& p);     // the current date-time when it cannot be read
bool file_exists(const std::string& p);       // a regular file
bool folder_exists(const std::string& p);
bool path_is_link(const std::string& p); // a symbolic link (trailing "/" ignored)
bool file_delete(const std::string& p);
bool file_copy(const std::string& from, const std::string& to);
bool folder_create(const std::string& p); // with missing parents; true when it exists afterwards
bool folder_remove(const std::string& p); // only an empty folder; trailing "/" ignored
bool folder_delete_tree(const std::string& p);
// Moves every entry of from into to (created when missing), replacing files of the same name and
// merging folders, so what to held stays unless from brings it.
void folder_move_into(const std::string& from, const std::string& to);
void folder_delete_files(const std::string& folder, std::string_view mask);
void folder_remove_empty_subfolders(const std::string& folder);

// A name from outside (a server's list, a catalogue) that stays inside the folder it is put in:
// no "/" or "\", no control character, not only dots, not empty.
bool safe_file_name(std::string_view name);
// Windows-style mask with "*" and "?", letter case ignored ("*.*" matches every name).
bool mask_matches(std::string_view mask, std::string_view name);
// Names of the regular files in folder matching mask, in the order the system lists them.
std::vector<std::string> folder_list_files(const std::string& folder, std::string_view mask);
// Names of the direct sub-folders of folder.
std::vector<std::string> folder_list_folders(const std::string& folder);
// The existing entry of folder whose name equals name ignoring A..Z case (an exact match wins).
std::optional<std::string> find_name_in_folder(const std::string& folder, std::string_view name);

std::string file_read_all(const std::string& p); // empty when it cannot be opened
// The lines of a text file (ended by CR LF, LF or CR) joined with CR LF, none after the last.
std::string read_text_file(const std::string& p);
bool write_text_file(const std::string& p, std::string_view s);
// Writes a temporary file in the same folder, flushes it to disk and renames it over p, so p
// is either the old or the new file whole. owner_only creates it with mode 0600.
bool write_file_atomic(const std::string& p, std::string_view s, bool owner_only);
// The two halves of an atomic replacement, for writers that stream: an empty temporary file
// beside p (mode 0600 when owner_only, else 0644 minus the umask; -1 on failure), and the
// rename over p when ok (else the temporary file is removed). Returns whether p is replaced.
int create_temp_beside(const std::string& p, bool owner_only, std::string& temp_path);
bool finish_temp(const std::string& temp_path, const std::string& p, bool ok);

} // namespace tkv
