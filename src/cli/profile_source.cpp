#include "cli/profile_source.h"

#include "database/database_files.h"
#include "shell/codepage.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

namespace tkv {

namespace {

struct Line {
    int number;
    std::string text;
};

// Parsing state of one file: its lines, the code page and the first error met.
class SourceFile {
  public:
    SourceFile(std::string path, CodePage cp) : path_(std::move(path)), cp_(cp) {
        int n = 0;
        for (auto& l : split_lines(file_read_all(path_)))
            lines_.push_back({++n, std::move(l)});
    }

    const std::vector<Line>& lines() const { return lines_; }
    const std::optional<SourceError>& error() const { return error_; }
    void set_code_page(CodePage cp) { cp_ = cp; }

    void fail(int line, std::string message) {
        if (!error_) error_ = SourceError{path_, line, std::move(message)};
    }

    // A UTF-8 text in the profile's code page; a character the code page lacks is an error.
    std::string convert(const Line& line, const std::string& utf8) {
        std::string bytes = from_utf8(utf8, cp_);
        if (to_utf8(bytes, cp_) != utf8)
            fail(line.number, "a character cannot be written in the profile's code page");
        return bytes;
    }

    std::int32_t number(const Line& line, const std::string& value, std::int32_t min, std::int32_t max) {
        const std::int32_t v = parse_int(value, min - 1);
        if (v < min || v > max)
            fail(line.number, "\"" + value + "\" is not a number from " + std::to_string(min) + " to " +
                                  std::to_string(max));
        return v;
    }

  private:
    std::string path_;
    CodePage cp_;
    std::vector<Line> lines_;
    std::optional<SourceError> error_;
};

bool split_key(const std::string& text, std::string& key, std::string& value) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) return false;
    key = trim_controls(text.substr(0, eq));
    value = trim_controls(text.substr(eq + 1));
    return true;
}

// Lines of an entry's text in a game file: "@@" stands for a line starting with "@".
std::string join_text(std::vector<std::string> lines) {
    for (std::string& line : lines)
        if (line.starts_with("@@")) line.erase(0, 1);
    return entry_text(lines);
}

std::optional<SourceError> read_game(const std::string& path, CodePage cp, SourceGame& game) {
    SourceFile file(path, cp);
    enum class Section { header, info, file, homepage } section = Section::header;
    std::vector<std::string> text;
    const auto finish_info = [&] {
        if (section == Section::info) game.infos.back().text = join_text(std::move(text));
        text.clear();
    };
    for (const Line& line : file.lines()) {
        const std::string& s = line.text;
        if (s.starts_with("@") && !s.starts_with("@@")) {
            finish_info();
            if (s.starts_with("@info ")) {
                section = Section::info;
                BlockInfo info;
                const std::string kind = trim_controls(s.substr(6));
                if (kind.starts_with("#"))
                    info.type_number = static_cast<std::uint8_t>(file.number(line, kind.substr(1), 1, 255));
                else
                    info.name = file.convert(line, kind);
                if (kind.empty()) file.fail(line.number, "@info needs a type (#N) or a category name");
                game.infos.push_back(std::move(info));
            } else if (s == "@file") {
                section = Section::file;
                game.files.emplace_back();
            } else if (s == "@homepage") {
                section = Section::homepage;
                game.homepages.emplace_back();
            } else {
                file.fail(line.number, "unknown section \"" + s + "\"");
            }
            continue;
        }
        if (section == Section::info) {
            text.push_back(file.convert(line, s));
            continue;
        }
        std::string key, value;
        if (trim_controls(s).empty()) continue;
        if (!split_key(s, key, value)) {
            file.fail(line.number, "expected key=value");
            continue;
        }
        const std::string v = file.convert(line, value);
        if (section == Section::header) {
            if (key == "id")
                game.id = file.number(line, value, 1, 0x7FFFFFFF);
            else if (key == "revision")
                game.revision = file.number(line, value, 0, 0x7FFFFFFF);
            else if (key == "name")
                game.names += (game.names.empty() ? "" : "\r\n") + v;
            else
                file.fail(line.number, "unknown key \"" + key + "\"");
        } else if (section == Section::file) {
            auto& f = game.files.back();
            if (key == "url")
                f.url = v;
            else if (key == "size")
                f.size = v;
            else if (key == "title")
                f.title = v;
            else if (key == "description")
                f.description = v;
            else
                file.fail(line.number, "unknown key \"" + key + "\"");
        } else {
            auto& h = game.homepages.back();
            if (key == "url")
                h.url = v;
            else if (key == "title")
                h.title = v;
            else if (key == "description")
                h.description = v;
            else
                file.fail(line.number, "unknown key \"" + key + "\"");
        }
    }
    finish_info();
    if (game.id == 0) file.fail(0, "the game has no id");
    if (game.names.empty()) file.fail(0, "the game has no name");
    return file.error();
}

} // namespace

std::string source_error_text(const SourceError& error) {
    return error.file + (error.line > 0 ? ":" + std::to_string(error.line) : "") + ": " + error.message;
}

std::string entry_text(const std::vector<std::string>& lines) {
    const auto blank = [](const std::string& l) { return trim_controls(l).empty(); };
    auto first = std::find_if_not(lines.begin(), lines.end(), blank);
    auto last = std::find_if_not(lines.rbegin(), std::make_reverse_iterator(first), blank).base();
    std::string out;
    for (auto it = first; it != last; ++it) {
        if (it != first) out += "\r\n";
        out += *it;
    }
    return out;
}

std::variant<ProfileSource, SourceError> read_profile_source(const std::string& folder_in) {
    const std::string folder = with_trailing_slash(folder_in);
    ProfileSource source;
    auto& p = source.profile;
    if (!file_exists(folder + "profile.txt")) return SourceError{folder + "profile.txt", 0, "missing"};
    // The language decides the code page of every text, this file's included.
    SourceFile header(folder + "profile.txt", CodePage::windows_1252);
    std::map<std::string, Line> values;
    for (const Line& line : header.lines()) {
        std::string key, value;
        if (trim_controls(line.text).empty()) continue;
        if (!split_key(line.text, key, value) ||
            !std::set<std::string>{"id", "name", "language", "date"}.contains(key))
            header.fail(line.number, "expected id=, name=, language= or date=");
        else
            values[key] = {line.number, value};
    }
    if (header.error()) return *header.error();
    const bool all_given =
        values.size() == 4 &&
        std::none_of(values.begin(), values.end(), [](const auto& v) { return v.second.text.empty(); });
    if (!all_given || values["date"].text.size() != 17 || parse_datetime(values["date"].text) == DateTime{})
        return SourceError{folder + "profile.txt", 0, "id, name, language and a 17-digit date are required"};
    const CodePage cp = code_page_for_language(values["language"].text);
    header.set_code_page(cp);
    p.id = header.convert(values["id"], values["id"].text);
    p.name = header.convert(values["name"], values["name"].text);
    p.language = header.convert(values["language"], values["language"].text);
    p.main_date = parse_datetime(values["date"].text);
    if (header.error()) return *header.error();
    {
        SourceFile file(folder + "types.txt", cp);
        for (const Line& line : file.lines()) {
            std::string key, value;
            if (trim_controls(line.text).empty()) continue;
            if (!split_key(line.text, key, value)) {
                file.fail(line.number, "expected NUMBER=Name");
                continue;
            }
            source.types.push_back(
                {static_cast<std::uint8_t>(file.number(line, key, 1, 255)), file.convert(line, value)});
        }
        if (source.types.size() > info_types_max) file.fail(0, "more than 255 information types");
        if (file.error()) return *file.error();
    }
    std::set<std::int32_t> ids;
    auto names = folder_list_files(folder + "games/", "*.txt");
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        SourceGame game;
        game.file = name;
        if (auto error = read_game(folder + "games/" + name, cp, game)) return *error;
        if (!ids.insert(game.id).second)
            return SourceError{folder + "games/" + name, 0,
                               "id " + std::to_string(game.id) + " is used twice"};
        source.games.push_back(std::move(game));
    }
    if (source.games.size() > games_max) return SourceError{folder + "games/", 0, "more than 32766 games"};
    std::sort(source.games.begin(), source.games.end(),
              [](const auto& a, const auto& b) { return a.id < b.id; });
    return source;
}

GAMES2_ARRAY_TYPE compile_game(const SourceGame& game) {
    GAMES2_ARRAY_TYPE g;
    g.id = game.id;
    g.names = game.names;
    g.revision = game.revision;
    g.data = block_compress(block_encode(game.infos, game.files, game.homepages));
    return g;
}

bool write_profile(const std::string& folder, const PROFILES_TYPE& profile, const GameDatabase& db) {
    folder_create(folder);
    return u_progress_dat_save_main(db, profile, with_trailing_slash(folder) + "main.dat", true);
}

} // namespace tkv
