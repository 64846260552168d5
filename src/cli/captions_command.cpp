// tkv captions: the caption table, optionally with a language file applied, for translators.

#include "cli/command.h"
#include "shell/codepage.h"

namespace tkv::cli {

namespace {

// One line per slot: CR and LF written as \r and \n so each caption stays on its line.
std::string printable(const std::string& text, CodePage cp) {
    std::string out;
    for (char c : text) {
        if (c == '\r')
            out += "\\r";
        else if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return to_utf8(out, cp);
}

int run_captions(ProgramContext& context, const std::vector<std::string>& args, CommandIo io) {
    std::string language_file;
    bool missing_only = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--language" && i + 1 < args.size() && !args[i + 1].empty())
            language_file = args[++i];
        else if (args[i] == "--missing")
            missing_only = true;
        else
            return usage_error(io, captions_command);
    }
    if (missing_only && language_file.empty()) {
        io.err << "tkv: --missing needs --language FILE\n";
        return usage_error(io, captions_command);
    }

    CodePage cp = CodePage::windows_1252;
    LanguageLoadResult loaded;
    if (!language_file.empty()) {
        const std::string folder = languages_folder(context.variables);
        loaded = languages_load(context.CAPTIONS, folder, language_file);
        if (!loaded.opened) {
            io.err << "tkv: cannot read language file " << folder << language_file << "\n";
            return exit_failed;
        }
        cp = code_page_for_language(loaded.language);
    }
    for (int slot = 1; slot < caption_slots; ++slot) {
        if (missing_only && loaded.slots_set.test(static_cast<std::size_t>(slot))) continue;
        io.out << slot << '\t' << printable(context.CAPTIONS[static_cast<std::size_t>(slot)], cp) << '\n';
    }
    return exit_ok;
}

} // namespace

const Command captions_command{"captions", "captions [--language FILE] [--missing]", run_captions};

} // namespace tkv::cli
