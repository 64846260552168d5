#include "database/notes_file.h"

#include "database/database_files.h"
#include "database/game_table.h"
#include "shell/files.h"
#include "shell/json.h"
#include "shell/text.h"

namespace tkv {

namespace {

constexpr std::string_view format_name = "trickvault-notes";
constexpr std::int32_t format_version = 1;

std::string launch_json(const GAMES2_RUN_TYPE& run, CodePage cp) {
    return "{\"path\": " + json_quote(to_utf8(run.path, cp)) + ", \"folder\": " + json_quote(to_utf8(run.folder, cp)) +
           ", \"parameters\": " + json_quote(to_utf8(run.parameters, cp)) + "}";
}

std::string game_json(const GAMES2_ARRAY_TYPE& g, CodePage cp) {
    std::string names;
    for_each_name_line(g.names, [&](std::string_view line) {
        names += (names.empty() ? "" : ", ") + json_quote(to_utf8(line, cp));
    });
    const bool user_game = g.id < 1;
    return "    {\"id\": " + std::to_string(user_game ? 0 : g.id) + ", \"user_game\": " + (user_game ? "true" : "false") +
           ",\n     \"names\": [" + names + "],\n     \"text\": " + json_quote(to_utf8(g.user_text, cp)) +
           ",\n     \"launch\": " + launch_json(g.run, cp) + "}";
}

// Reads the file's tree into a NotesFile, checking every type and limit; an empty text when
// all is well.
class Reader {
  public:
    std::string error;

    bool fail(std::string what) {
        if (error.empty()) error = std::move(what);
        return false;
    }

    const JsonValue* need(const JsonValue& object, std::string_view key, JsonValue::Kind kind,
                          const std::string& where) {
        const JsonValue* v = object.member(key);
        if (!v) return fail(where + ": \"" + std::string(key) + "\" is missing"), nullptr;
        if (v->kind != kind) return fail(where + ": \"" + std::string(key) + "\" has the wrong type"), nullptr;
        return v;
    }

    // A text member: a string within max bytes, without control characters (a note may hold
    // line breaks and tabs).
    bool checked_text(const JsonValue& v, const std::string& what, std::size_t max, bool line, std::string& out) {
        if (v.kind != JsonValue::Kind::string) return fail(what + " has the wrong type");
        if (v.text.size() > max) return fail(what + " is longer than " + std::to_string(max) + " bytes");
        for (const char c : v.text) {
            const auto u = static_cast<unsigned char>(c);
            const bool allowed_break = !line && (c == '\r' || c == '\n' || c == '\t');
            if ((u < 0x20 && !allowed_break) || u == 0x7F) return fail(what + " holds a control character");
        }
        out = v.text;
        return true;
    }

    bool text(const JsonValue& object, std::string_view key, std::size_t max, bool line, std::string& out,
              const std::string& where) {
        const JsonValue* v = need(object, key, JsonValue::Kind::string, where);
        return v && checked_text(*v, where + ": \"" + std::string(key) + "\"", max, line, out);
    }

    bool game(const JsonValue& v, std::size_t number, NotesGame& g) {
        const std::string where = "game " + std::to_string(number);
        if (v.kind != JsonValue::Kind::object) return fail(where + " is not an object");
        const JsonValue* id = need(v, "id", JsonValue::Kind::number, where);
        const JsonValue* user_game = need(v, "user_game", JsonValue::Kind::boolean, where);
        const JsonValue* names = need(v, "names", JsonValue::Kind::array, where);
        const JsonValue* launch = need(v, "launch", JsonValue::Kind::object, where);
        if (!id || !user_game || !names || !launch) return false;
        g.user_game = user_game->boolean;
        const auto id_value = id->int32();
        if (!id_value || (g.user_game ? *id_value != 0 : *id_value < 1))
            return fail(where + ": \"id\" must be 0 for a game of the user, else a whole number from 1");
        g.id = *id_value;
        if (names->items.empty()) return fail(where + ": \"names\" is empty");
        std::size_t names_bytes = 0;
        for (const JsonValue& name : names->items) {
            std::string n;
            if (!checked_text(name, where + ": a name", notes_names_bytes_max, true, n)) return false;
            if (trim_blank(n).empty()) return fail(where + ": a name is empty");
            names_bytes += n.size() + (g.names.empty() ? 0 : 2);
            if (names_bytes > notes_names_bytes_max)
                return fail(where + ": the names are longer than " + std::to_string(notes_names_bytes_max) +
                            " bytes together");
            g.names.push_back(std::move(n));
        }
        if (!text(v, "text", notes_text_bytes_max, false, g.text, where) ||
            !text(*launch, "path", notes_launch_bytes_max, true, g.run.path, where) ||
            !text(*launch, "folder", notes_launch_bytes_max, true, g.run.folder, where) ||
            !text(*launch, "parameters", notes_launch_bytes_max, true, g.run.parameters, where))
            return false;
        if (g.run.path.size() + g.run.folder.size() + g.run.parameters.size() > notes_launch_bytes_max)
            return fail(where + ": the launch settings are longer than " + std::to_string(notes_launch_bytes_max) +
                        " bytes together");
        return true;
    }

    bool file(const JsonValue& root, NotesFile& out) {
        if (root.kind != JsonValue::Kind::object) return fail("the file is not a notes file");
        const JsonValue* format = root.member("format");
        if (!format || format->kind != JsonValue::Kind::string || format->text != format_name)
            return fail("the file is not a notes file (\"format\" is not \"trickvault-notes\")");
        const JsonValue* version = need(root, "version", JsonValue::Kind::number, "the file");
        if (!version) return false;
        if (version->int32() != format_version)
            return fail("the file has format version " + std::to_string(version->number) +
                        "; this program reads version 1");
        const JsonValue* profile = need(root, "profile", JsonValue::Kind::object, "the file");
        const JsonValue* games = need(root, "games", JsonValue::Kind::array, "the file");
        if (!profile || !games) return false;
        if (!text(*profile, "id", notes_profile_bytes_max, true, out.profile_id, "the profile") ||
            !text(*profile, "name", notes_profile_bytes_max, true, out.profile_name, "the profile"))
            return false;
        if (games->items.size() > games_max)
            return fail("the file holds " + std::to_string(games->items.size()) + " games; a profile holds at most " +
                        std::to_string(games_max));
        out.games.resize(games->items.size());
        for (std::size_t i = 0; i < games->items.size(); ++i)
            if (!game(games->items[i], i + 1, out.games[i])) return false;
        return true;
    }
};

std::string joined_names(const std::vector<std::string>& names) {
    std::string out;
    for (const auto& n : names) out += (out.empty() ? "" : "\r\n") + n;
    return out;
}

std::string too_big() {
    return "the file is bigger than " + std::to_string(notes_file_bytes_max >> 20) + " MB";
}

} // namespace

std::string notes_export_text(const GameDatabase& db, const PROFILES_TYPE& profile) {
    const CodePage cp = code_page_for_language(profile.language);
    std::string out = "{\n  \"format\": " + json_quote(format_name) + ",\n  \"version\": " +
                      std::to_string(format_version) + ",\n  \"profile\": {\"id\": " + json_quote(to_utf8(profile.id, cp)) +
                      ", \"name\": " + json_quote(to_utf8(profile.name, cp)) + "},\n  \"games\": [";
    bool first = true;
    for (const auto& g : db.games) {
        if (!has_user_data(g)) continue;
        out += (first ? "\n" : ",\n") + game_json(g, cp);
        first = false;
    }
    return out + (first ? "]\n}\n" : "\n  ]\n}\n");
}

NotesRead notes_read(std::string_view text) {
    NotesRead out;
    if (text.size() > notes_file_bytes_max) {
        out.error = too_big();
        return out;
    }
    JsonParse parsed = json_parse(text);
    if (!parsed.value) {
        out.error = "the file is not valid JSON: " + parsed.error;
        return out;
    }
    Reader reader;
    NotesFile file;
    if (reader.file(*parsed.value, file))
        out.file = std::move(file);
    else
        out.error = reader.error;
    return out;
}

NotesRead notes_read_file(const std::string& path) {
    const std::int64_t size = file_size(path);
    if (size < 0) return {std::nullopt, "cannot read " + path};
    if (static_cast<std::uint64_t>(size) > notes_file_bytes_max) return {std::nullopt, too_big()};
    return notes_read(file_read_all(path));
}

bool notes_profile_matches(const NotesFile& file, const PROFILES_TYPE& profile) {
    return lower_text(file.profile_id) == lower_text(to_utf8(profile.id, code_page_for_language(profile.language)));
}

std::string notes_appended_line(DateTime now) {
    const std::string d = format_date(now);
    return "\r\n\r\n--- " + d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + " ---\r\n";
}

NotesImport notes_import(GameDatabase& db, const NotesFile& file, CodePage cp, DateTime now) {
    NotesImport report;
    UserRecordMerge merge(db);
    for (const NotesGame& game : file.games) {
        const std::string all_texts =
            joined_names(game.names) + game.text + game.run.path + game.run.folder + game.run.parameters;
        if (const auto missing = characters_not_in(all_texts, cp); !missing.empty()) {
            report.refused.push_back({game.names.front(), NotesRefusal::Why::code_page, character_list(missing)});
            continue;
        }
        GAMES2_ARRAY_TYPE u;
        u.id = game.user_game ? 0 : game.id;
        u.names = from_utf8(joined_names(game.names), cp);
        u.user_text = from_utf8(game.text, cp);
        u.run = {from_utf8(game.run.path, cp), from_utf8(game.run.folder, cp), from_utf8(game.run.parameters, cp)};
        std::int32_t target = merge.target(u);
        if (target < 0 && game.user_game) target = merge.own_game(u);
        if (target < 0) {
            if (merge.add_user_game(u))
                ++report.new_games;
            else
                report.refused.push_back({game.names.front(), NotesRefusal::Why::table_full, {}});
            continue;
        }
        GAMES2_ARRAY_TYPE& g = db.games[static_cast<std::size_t>(target)];
        if (g.run.path.empty()) g.run = u.run;
        if (g.user_text.empty() || g.user_text == u.user_text || u.user_text.empty() ||
            g.user_text.ends_with(u.user_text)) {
            if (g.user_text.empty()) g.user_text = u.user_text;
            ++report.attached;
        } else {
            g.user_text += notes_appended_line(now) + u.user_text;
            ++report.merged_notes;
        }
    }
    return report;
}

} // namespace tkv
