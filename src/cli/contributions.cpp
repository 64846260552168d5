#include "cli/contributions.h"

#include "database/database_files.h"
#include "database/game_table.h"
#include "database/notes_file.h"
#include "internet/mail_reading.h"
#include "shell/codepage.h"
#include "shell/files.h"
#include "shell/numbers.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

namespace tkv {

namespace {

bool is_control(unsigned char c, bool line_breaks_allowed) {
    if (line_breaks_allowed && (c == '\t' || c == '\r' || c == '\n')) return false;
    return c < 0x20 || c == 0x7F;
}

// Whether bytes are characters of the code page: the source holds UTF-8, which must convert back.
bool in_code_page(const std::string& bytes, CodePage cp) {
    return from_utf8(to_utf8(bytes, cp), cp) == bytes;
}

// Makes a record's names what the source reads back: each line trimmed, blank lines gone, CR LF
// between them. Gives why the record is refused instead.
std::optional<std::string> clean_names(std::string& names, CodePage cp) {
    std::string joined;
    for (const std::string& line : split_lines(names)) {
        if (line.size() > contribution_name_bytes_max)
            return "a game name of " + std::to_string(line.size()) + " bytes";
        if (std::any_of(line.begin(), line.end(), [](char c) { return is_control(c, false); }))
            return "a game name holds control characters";
        if (line.find("../") != std::string::npos || line.find("..\\") != std::string::npos)
            return "a game name holds a path (\"../\")";
        const std::string name = trim_controls(line);
        if (!name.empty()) joined += (joined.empty() ? "" : "\r\n") + name;
    }
    if (joined.empty()) return "a game without a name";
    if (joined.size() > notes_names_bytes_max) return "a game's names are too long";
    if (!in_code_page(joined, cp))
        return "a name holds bytes that are not characters of the profile's code page";
    names = std::move(joined);
    return std::nullopt;
}

// Why a text cannot be taken, or nothing.
std::optional<std::string> hostile_text(const std::string& text, CodePage cp) {
    if (text.size() > notes_text_bytes_max) return "a note of " + std::to_string(text.size()) + " bytes";
    if (std::any_of(text.begin(), text.end(), [](char c) { return is_control(c, true); }))
        return "a note holds control characters";
    if (!in_code_page(text, cp))
        return "a text holds bytes that are not characters of the profile's code page";
    return std::nullopt;
}

struct UserDat {
    std::string bytes;
    std::string sender;
};

// The user.dat files a file holds: itself, or the attachments of a message that are one.
std::variant<std::vector<UserDat>, std::string> user_dats_of(const std::string& path) {
    const std::int64_t size = file_size(path);
    if (size < 0 || !file_exists(path)) return std::string("cannot be read");
    if (size > contribution_file_bytes_max) return std::string("is larger than 64 MiB");
    std::string bytes = file_read_all(path);
    if (static_cast<std::int64_t>(bytes.size()) != size) return std::string("cannot be read");
    const std::string magic =
        std::string(1, static_cast<char>(user_dat_magic.size())) + std::string(user_dat_magic);
    if (bytes.starts_with(magic)) return std::vector<UserDat>{{std::move(bytes), ""}};
    const MailRead mail = read_mail(bytes);
    if (!mail.mail) return "is neither a user database nor a readable e-mail. " + mail.error;
    std::vector<UserDat> found;
    for (const MailAttachment& a : mail.mail->attachments)
        if (a.bytes.starts_with(magic)) found.push_back({a.bytes, mail.mail->from});
    if (found.empty()) return std::string("is an e-mail without a user database attached");
    return found;
}

// The records of one user.dat with a text, names and text cleaned, or why the whole file is refused.
std::variant<std::vector<GAMES2_ARRAY_TYPE>, std::string> texts_of(const UserDat& file,
                                                                   const PROFILES_TYPE& profile) {
    DatHeader header;
    std::vector<GAMES2_ARRAY_TYPE> records;
    const DatReadReport report = user_dat_read_bytes(file.bytes, header, records);
    if (!report.magic_ok) return std::string("is not a user database");
    // The reader's own words go on to say what it kept, which is nothing here.
    if (!report.problems.empty())
        return "is cut short or damaged: " +
               report.problems.front().substr(0, report.problems.front().find(';'));
    const CodePage cp = code_page_for_language(profile.language);
    if (lower_text(header.id) != lower_text(profile.id))
        return "belongs to the profile \"" + without_control_characters(to_utf8(header.id, cp)) +
               "\", not \"" + to_utf8(profile.id, cp) + "\"";
    if (records.size() > games_max) return "holds more than " + std::to_string(games_max) + " games";
    std::vector<GAMES2_ARRAY_TYPE> texts;
    for (std::size_t i = 0; i < records.size(); ++i) {
        GAMES2_ARRAY_TYPE& u = records[i];
        const std::string record = "user record " + std::to_string(i + 1) + ": ";
        if (const auto why = clean_names(u.names, cp)) return record + *why;
        if (const auto why = hostile_text(u.user_text, cp)) return record + *why;
        u.user_text = entry_text(split_lines(u.user_text));
        // A record kept for its launch settings alone brings nothing to publish.
        if (!u.user_text.empty()) texts.push_back(std::move(u));
    }
    return texts;
}

bool same_game(const std::string& names, const std::string& other) {
    return names == other || name_lines_match(names, other);
}

// The source's games as a table of ids and names, for the rule that attaches user.dat's records.
GameDatabase table_of(const ProfileSource& source) {
    GameDatabase db;
    for (const SourceGame& g : source.games) {
        GAMES2_ARRAY_TYPE r;
        r.id = g.id;
        r.names = g.names;
        db.games.push_back(std::move(r));
    }
    return db;
}

Placement place(const ProfileSource& source, const UserRecordMerge& merge, const GAMES2_ARRAY_TYPE& u) {
    const std::int32_t target = merge.target(u);
    if (target < 0) return {};
    const SourceGame& game = source.games[static_cast<std::size_t>(target)];
    const bool present = std::any_of(game.infos.begin(), game.infos.end(),
                                     [&](const BlockInfo& info) { return info.text == u.user_text; });
    return {present ? Placement::Kind::present : Placement::Kind::note, &game};
}

std::uint64_t fnv1a(std::string_view bytes) {
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : bytes)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

// What folds contributions and makes their ids: the game (or a new game's name line) and the text,
// which is kept as its hash and size so that a game of many names does not copy a long text each time.
std::string fold_key(const std::string& where, const std::string& text) {
    return where + '\n' + std::to_string(fnv1a(text)) + ':' + std::to_string(text.size());
}

std::string hex_id(const std::string& key) {
    const std::uint64_t h = fnv1a(key);
    char id[9];
    std::snprintf(id, sizeof id, "%08x", static_cast<unsigned>((h >> 32) ^ h));
    return id;
}

// The lines of a section holding text (UTF-8): a line starting with "@" is written "@@".
std::string section_text(const std::string& section, const std::string& text) {
    std::string out = section + "\n";
    for (const std::string& line : split_lines(text))
        out += (line.starts_with("@") ? "@" : "") + line + "\n";
    return out;
}

// A game file's text with its revision set: the value of each "revision=" line of its header is
// replaced (the reader takes the last), or the line is added first when the header has none.
std::string with_revision(std::string file, std::int32_t revision) {
    bool found = false;
    for (std::size_t at = 0; at < file.size();) {
        const std::size_t end = std::min(file.find_first_of("\r\n", at), file.size());
        const std::string_view line(file.data() + at, end - at);
        if (line.starts_with("@") && !line.starts_with("@@")) break;
        const auto eq = line.find('=');
        std::size_t next = end;
        if (eq != std::string_view::npos && trim_controls(line.substr(0, eq)) == "revision") {
            const std::string value = std::to_string(revision);
            file.replace(at + eq + 1, end - at - eq - 1, value);
            next = at + eq + 1 + value.size();
            found = true;
        }
        at = file.find_first_not_of("\r\n", next);
        if (at == std::string::npos) break;
    }
    return found ? file : "revision=" + std::to_string(revision) + "\n" + file;
}

// A new game's file name: its id and its title's letters and digits, as the demo's files are named,
// and "-N" when the name is taken.
std::string new_game_file_name(std::int32_t id, const std::string& title_utf8, int n) {
    char number[16];
    std::snprintf(number, sizeof number, "%03d", static_cast<int>(id));
    std::string slug;
    for (const char ch : ascii_lower_text(title_utf8)) {
        const bool keep = (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9');
        if (keep)
            slug += ch;
        else if (!slug.empty() && slug.back() != '-')
            slug += '-';
        if (slug.size() >= 40) break;
    }
    while (!slug.empty() && slug.back() == '-')
        slug.pop_back();
    return std::string(number) + (slug.empty() ? "" : "-" + slug) + (n > 1 ? "-" + std::to_string(n) : "") +
           ".txt";
}

} // namespace

Contributions read_contributions(const std::vector<std::string>& files, const ProfileSource& source) {
    GameDatabase db = table_of(source);
    const UserRecordMerge merge(db);
    Contributions result;
    // The fold keys met so far: the game's id or each A..Z-folded name line of a new game, with
    // the text. A new game's other name lines join it, so games whose names fit fold.
    std::unordered_map<std::string, std::size_t> folded;
    std::set<std::string> ids;
    for (const std::string& path : files) {
        auto dats = user_dats_of(path);
        if (const auto* why = std::get_if<std::string>(&dats)) {
            result.refused.push_back({path, *why});
            continue;
        }
        std::vector<std::pair<GAMES2_ARRAY_TYPE, Contributor>> taken;
        std::optional<std::string> refusal;
        for (const UserDat& dat : std::get<std::vector<UserDat>>(dats)) {
            auto texts = texts_of(dat, source.profile);
            if (const auto* why = std::get_if<std::string>(&texts)) {
                refusal = *why;
                break;
            }
            for (GAMES2_ARRAY_TYPE& u : std::get<std::vector<GAMES2_ARRAY_TYPE>>(texts))
                taken.push_back({std::move(u), {path, dat.sender}});
        }
        if (refusal) {
            result.refused.push_back({path, *refusal});
            continue;
        }
        for (auto& [record, sender] : taken) {
            // Named apart from the binding, so that the lambdas below may capture them.
            GAMES2_ARRAY_TYPE& u = record;
            Contributor& contributor = sender;
            const Placement p = place(source, merge, u);
            std::vector<std::string> keys;
            if (p.game)
                keys.push_back(fold_key("game " + std::to_string(p.game->id), u.user_text));
            else
                for (const std::string& line : split_lines(u.names))
                    keys.push_back(fold_key("new " + ascii_lower_text(line), u.user_text));
            // The texts themselves decide: a hash can be made to collide.
            const auto known = std::find_if(keys.begin(), keys.end(), [&](const auto& k) {
                const auto it = folded.find(k);
                return it != folded.end() && result.items[it->second].text == u.user_text;
            });
            if (known != keys.end()) {
                const std::size_t index = folded[*known];
                for (const std::string& k : keys)
                    folded.emplace(k, index);
                auto& from = result.items[index].from;
                const bool listed = std::any_of(from.begin(), from.end(), [&](const Contributor& f) {
                    return f.file == contributor.file && f.sender == contributor.sender;
                });
                if (!listed) from.push_back(std::move(contributor));
                continue;
            }
            for (const std::string& k : keys)
                folded.emplace(k, result.items.size());
            Contribution c;
            c.id = hex_id(keys.front());
            // Another text with the same id (one in four billion) gets the next free number.
            for (std::uint32_t n = 1; ids.contains(c.id); ++n)
                c.id = hex_id(keys.front() + std::to_string(n));
            ids.insert(c.id);
            c.place = p;
            c.names = std::move(u.names);
            c.text = std::move(u.user_text);
            c.from.push_back(std::move(contributor));
            result.items.push_back(std::move(c));
        }
    }
    return result;
}

std::string contribution_section(const ProfileSource& source, const std::optional<std::string>& wanted,
                                 std::string& error) {
    const CodePage cp = code_page_for_language(source.profile.language);
    const auto typed = [&](const INFO_TYPE_ENTRY& t) { return "@info #" + std::to_string(t.type_number); };
    if (!wanted) {
        for (const INFO_TYPE_ENTRY& t : source.types)
            if (ascii_lower_text(t.type_name).find("hint") != std::string::npos) return typed(t);
        return "@info Readers' tips";
    }
    const std::string name = trim_controls(*wanted);
    const std::int32_t number = parse_int(name, -1);
    for (const INFO_TYPE_ENTRY& t : source.types)
        if (number == t.type_number || lower_text(to_utf8(t.type_name, cp)) == lower_text(name))
            return typed(t);
    if (number >= 0) {
        error = "the profile has no information type " + name;
        return {};
    }
    // An entry's category name is stored with a one-byte length.
    const std::string bytes = from_utf8(name, cp);
    const bool fits = !name.empty() && bytes.size() <= 255 && to_utf8(bytes, cp) == name &&
                      std::none_of(name.begin(), name.end(), [](char c) { return is_control(c, false); });
    if (!fits || name.starts_with("#") || name.starts_with("@")) {
        error = "\"" + without_control_characters(name) + "\" cannot name a category of this profile";
        return {};
    }
    return "@info " + name;
}

AcceptResult accept_contributions(const std::string& folder_in, const ProfileSource& source,
                                  const Contributions& contributions, const std::vector<std::string>& ids,
                                  const std::string& section) {
    const std::string folder = with_trailing_slash(folder_in) + "games/";
    const CodePage cp = code_page_for_language(source.profile.language);

    struct Change {
        std::string file;
        const SourceGame* game = nullptr; // a game of the source, or a new one
        std::int32_t id = 0;
        std::string names; // a new game's, code page
        std::vector<std::string> texts;
    };
    std::map<std::int32_t, Change> changes;
    std::int32_t next_id = source.games.empty() ? 0 : source.games.back().id;
    std::size_t game_count = source.games.size();
    AcceptResult result;
    std::vector<const Contribution*> wanted;
    for (const std::string& id : ids) {
        const auto it = std::find_if(contributions.items.begin(), contributions.items.end(),
                                     [&](const Contribution& c) { return c.id == id; });
        if (it == contributions.items.end()) {
            result.error = "nothing accepted: there is no contribution " + without_control_characters(id);
            return result;
        }
        if (std::find(wanted.begin(), wanted.end(), &*it) == wanted.end()) wanted.push_back(&*it);
    }
    for (const Contribution* c : wanted) {
        const Placement& p = c->place;
        const std::string title = to_utf8(split_lines(p.game ? p.game->names : c->names).front(), cp);
        if (p.kind == Placement::Kind::present) {
            result.lines.push_back(c->id + ": already in games/" + p.game->file);
            continue;
        }
        Change* change = nullptr;
        if (p.kind == Placement::Kind::note) {
            change = &changes[p.game->id];
            change->game = p.game;
            change->id = p.game->id;
            change->file = p.game->file;
        } else {
            for (auto& [key, other] : changes)
                if (!other.game && same_game(other.names, c->names)) change = &other;
            if (!change) {
                if (game_count >= games_max || next_id == std::numeric_limits<std::int32_t>::max()) {
                    result.error = "nothing accepted: the profile cannot hold another game";
                    return result;
                }
                ++game_count;
                change = &changes[++next_id];
                change->id = next_id;
                change->names = c->names;
                const auto taken = [&](const std::string& name) {
                    return std::filesystem::exists(std::filesystem::symlink_status(folder + name));
                };
                for (int n = 1; change->file.empty() || taken(change->file); ++n)
                    change->file = new_game_file_name(next_id, title, n);
            }
        }
        if (std::find(change->texts.begin(), change->texts.end(), c->text) == change->texts.end())
            change->texts.push_back(c->text);
        result.lines.push_back(c->id + ": " + (change->game ? "note on game " : "new game ") +
                               std::to_string(change->id) + " \"" + title + "\" in games/" + change->file);
    }

    // Every file is made before any is written, so a fault found here writes nothing.
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& [key, change] : changes) {
        std::string text;
        if (change.game) {
            if (change.game->revision == std::numeric_limits<std::int32_t>::max()) {
                result.error = "nothing accepted: games/" + change.file + ": the revision cannot be raised";
                return result;
            }
            text = file_read_all(folder + change.file);
            if (text.empty()) {
                result.error = "nothing accepted: games/" + change.file + " cannot be read";
                return result;
            }
            text = with_revision(std::move(text), change.game->revision + 1);
            if (!text.ends_with("\n") && !text.ends_with("\r")) text += "\n";
        } else {
            text = "id=" + std::to_string(change.id) + "\nrevision=1\n";
            for (const std::string& name : split_lines(change.names))
                text += "name=" + to_utf8(name, cp) + "\n";
        }
        for (const std::string& t : change.texts)
            text += section_text(section, to_utf8(t, cp));
        files.push_back({folder + change.file, std::move(text)});
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        if (!write_file_atomic(files[i].first, files[i].second, false)) {
            result.error = files[i].first + " cannot be written";
            if (i > 0) result.error += " (" + std::to_string(i) + " files before it were written)";
            return result;
        }
    return result;
}

} // namespace tkv
