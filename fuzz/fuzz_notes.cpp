// An import file of the user's notes: the reader refuses it whole or gives games within the
// limits; merged into a small profile, the table stays within its limit, and the profile's
// export reads back with as many games of user data as the table holds.
#include "database/database_files.h"
#include "database/notes_file.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const NotesRead read = notes_read(fuzz::bytes_of(data, size));
    TKV_FUZZ_CHECK(read.file.has_value() != !read.error.empty());
    if (!read.file) return 0;
    for (const NotesGame& g : read.file->games) {
        TKV_FUZZ_CHECK(!g.names.empty());
        TKV_FUZZ_CHECK(g.text.size() <= notes_text_bytes_max);
        TKV_FUZZ_CHECK(g.user_game ? g.id == 0 : g.id >= 1);
    }

    GameDatabase db;
    db.games = {{1, "Doom\r\nDoom I", "", 3, "God mode: IDDQD", {"doom.exe", "/games", "-warp 1"}},
                {2, "Quake", "", 1, "", {}}};
    PROFILES_TYPE profile;
    profile.id = "PC";
    const NotesImport report = notes_import(db, *read.file, CodePage::windows_1252, DateTime{});
    TKV_FUZZ_CHECK(db.games.size() <= games_max);
    TKV_FUZZ_CHECK(report.attached + report.new_games + report.merged_notes + report.refused.size() ==
                   read.file->games.size());

    const NotesRead again = notes_read(notes_export_text(db, profile));
    TKV_FUZZ_CHECK(again.file.has_value());
    TKV_FUZZ_CHECK(again.file->games.size() ==
                   static_cast<std::size_t>(std::count_if(db.games.begin(), db.games.end(), has_user_data)));
    return 0;
}
