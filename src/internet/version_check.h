#pragma once
// The program's version against the server's: the version file's newest version, whether the
// notes of a newer program are due at start, the texts of the notes window, and the sections of
// the server's version notes that are newer than the running program. Versions are compared as
// texts, character by character.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>

#ifndef TKV_WHATS_NEW_PAGE_ADDRESS
#define TKV_WHATS_NEW_PAGE_ADDRESS "http://www.trickvault.example/whatsnew.html"
#endif
#ifndef TKV_DOWNLOAD_PAGE_ADDRESS
#define TKV_DOWNLOAD_PAGE_ADDRESS "http://www.trickvault.example/download.html"
#endif

namespace tkv {

// Opened by the version-check window's home-page button.
inline constexpr std::string_view whats_new_page_address = TKV_WHATS_NEW_PAGE_ADDRESS;
// Shown on the options window's program panel.
inline constexpr std::string_view download_page_address = TKV_DOWNLOAD_PAGE_ADDRESS;

// The server's version file, below the current server.
inline constexpr std::string_view version_file_resource = "information/tkv_version.tku";
// The version notes of one language ("default" for the built-in texts), below the current server.
std::string version_notes_resource(std::string_view info_file_name);

// The value of the first line beginning with "Latest Version" (letter case ignored): the text after
// its last "=", trimmed of blanks and control characters. Empty when there is none.
std::string latest_version_of(std::string_view version_file);

// Whether the first start after recording `recorded` shows the changes up to `running`.
bool upgrade_notes_due(std::string_view recorded, std::string_view running);

// A caption in UTF-8 with its "%1".."%5" filled in.
using CaptionText = std::function<std::string(int slot, std::initializer_list<std::string_view> values)>;

// The notes window's welcome on the first run.
std::string run_first_text(const CaptionText& caption);
// The notes window's list of changes since the recorded version (in UTF-8).
std::string run_newer_text(std::string_view recorded, const CaptionText& caption);

struct NewerNotes {
    std::string latest; // the highest section seen, at least the running version
    std::string notes;  // each newer section as CR LF, its name, ":", CR LF and its lines ending in CR LF
};

// The sections of the version notes (the lines after the marker line) newer than `running`.
NewerNotes newer_version_notes(std::string_view notes_text, std::string_view running);

} // namespace tkv
