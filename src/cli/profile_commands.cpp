// tkv profiles, list, search, find, show: the installed profiles and the games of one, as the
// program's windows would show them.

#include "appearance/skin_table.h"
#include "cli/open_profile.h"
#include "database/game_list.h"
#include "database/record_codec.h"
#include "database/save_info.h"
#include "database/similar_names.h"
#include "database/text_export.h"
#include "shell/numbers.h"
#include "shell/text.h"

#include <map>

namespace tkv::cli {

namespace {

// The text typed on the terminal in the profile's code page.
std::string typed(const std::string& text, CodePage cp, bool raw) {
    return raw ? text : from_utf8(text, cp);
}

void print_row(CommandIo io, const OpenedProfile& p, std::int32_t row, bool raw, std::string_view tail = {}) {
    io.out << row << '\t' << shown(p.db.game_list[static_cast<std::size_t>(row)].name, p.cp, raw) << tail << '\n';
}

int run_profiles(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    Arguments a;
    if (!parse_arguments(args, a) || !a.positional.empty() || a.format || a.similar)
        return usage_error(io, profiles_command);
    for (const auto& p : installed_profiles(context).profiles) {
        const CodePage cp = code_page_for_language(p.language);
        io.out << shown(p.id, cp, a.raw) << '\t' << shown(p.name, cp, a.raw) << '\t'
               << shown(p.language, cp, a.raw) << '\t' << shown(p.folder, cp, a.raw) << '\n';
    }
    return exit_ok;
}

int run_list(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    Arguments a;
    if (!parse_arguments(args, a) || a.positional.size() != 1 || a.format || a.similar)
        return usage_error(io, list_command);
    const auto p = open_profile(context, a.positional[0], io);
    if (!p) return exit_usage;
    for (const auto& row : p->db.game_list)
        io.out << shown(row.name, p->cp, a.raw) << '\n';
    return exit_ok;
}

int run_search(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    Arguments a;
    if (!parse_arguments(args, a) || a.positional.size() != 2 || a.format || a.similar)
        return usage_error(io, search_command);
    const auto p = open_profile(context, a.positional[0], io);
    if (!p) return exit_usage;
    const QuickSearch s = search_gamename(p->db.game_list, typed(a.positional[1], p->cp, a.raw));
    if (s.row < 0) return exit_failed;
    print_row(io, *p, s.row, a.raw);
    return exit_ok;
}

int run_find(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    Arguments a;
    if (!parse_arguments(args, a) || a.positional.size() != 2 || a.format)
        return usage_error(io, find_command);
    const auto p = open_profile(context, a.positional[0], io);
    if (!p) return exit_usage;
    const std::string text = typed(a.positional[1], p->cp, a.raw);
    const SubstringSearch s = search_substring(p->db.game_list, text);
    for (std::int32_t row : s.rows)
        print_row(io, *p, row, a.raw);
    if (!a.similar) return s.rows.empty() ? exit_failed : exit_ok;
    const std::vector<std::int32_t> similar = SimilarNames(p->db.game_list, p->cp).find(text, s.rows);
    for (std::int32_t row : similar)
        print_row(io, *p, row, a.raw, "\tsimilar");
    return s.rows.empty() && similar.empty() ? exit_failed : exit_ok;
}

// "#ROW", or the first row whose name equals the text ignoring letter case; -1 when none.
std::int32_t game_row(const OpenedProfile& p, const std::string& game, bool raw) {
    if (game.starts_with("#")) {
        const std::int32_t row = parse_int(game.substr(1), -1);
        return row >= 0 && static_cast<std::size_t>(row) < p.db.game_list.size() ? row : -1;
    }
    const std::string wanted = lower_text(typed(game, p.cp, raw));
    for (std::size_t k = 0; k < p.db.game_list.size(); ++k)
        if (lower_text(p.db.game_list[k].name) == wanted) return static_cast<std::int32_t>(k);
    return -1;
}

int run_show(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    static const std::map<std::string, std::optional<SaveType>> formats{{"text", std::nullopt},
                                                                        {"html", SaveType::html},
                                                                        {"windows", SaveType::windows_text},
                                                                        {"dos", SaveType::dos_text},
                                                                        {"rtf", SaveType::rtf}};
    Arguments a;
    if (!parse_arguments(args, a) || a.positional.size() != 2 || a.similar ||
        (a.format && !formats.contains(*a.format)))
        return usage_error(io, show_command);
    auto p = open_profile(context, a.positional[0], io);
    if (!p) return exit_usage;
    const std::int32_t row = game_row(*p, a.positional[1], a.raw);
    if (row < 0) {
        io.err << "tkv: no game \"" << a.positional[1] << "\" in the list of " << a.positional[0] << "\n";
        return exit_usage;
    }
    GAMES2_TEMP_ARRAY_TYPE game;
    if (const int error = games_uncompress_data(
            p->db, p->db.game_list[static_cast<std::size_t>(row)].game_index, false, game)) {
        io.err << "error " << error << "\n";
        return exit_failed;
    }
    // The colours of the skin the program would show, as its save writes them.
    const SKINS_TYPE skin =
        skins_configured(context.options, skins_folder(context.variables), skins_setdefault({}));
    const ExportStyle style = export_style(context.options, skin);
    const auto type = formats.at(a.format.value_or("text"));
    io.out << (type ? export_document(game, *type, context.CAPTIONS, style)
                    : games_convert_data_to_text(game, context.CAPTIONS));
    return exit_ok;
}

} // namespace

const Command profiles_command{"profiles", "profiles [--raw]", run_profiles};
const Command list_command{"list", "list PROFILE [--raw]", run_list};
const Command search_command{"search", "search PROFILE TEXT [--raw]", run_search};
const Command find_command{"find", "find PROFILE TEXT [--similar] [--raw]", run_find};
const Command show_command{"show", "show PROFILE GAME [--format text|html|windows|dos|rtf] [--raw]",
                           run_show};

} // namespace tkv::cli
