#include "appearance/languages.h"

#include "appearance/caption_slots.h"
#include "shell/files.h"
#include "shell/folders.h"
#include "shell/manual.h"
#include "shell/numbers.h"
#include "shell/options.h"
#include "shell/product.h"
#include "shell/quicksort.h"
#include "shell/text.h"
#include "shell/text_lines.h"

#include <algorithm>

namespace tkv {

namespace {

struct LanguageLine {
    std::string key;
    std::string value;
};

// A line split at its first "=", blanks trimmed; empty for comments (empty lines, ";").
std::optional<LanguageLine> parse_line(const std::string& line) {
    if (line.empty() || line.front() == ';') return std::nullopt;
    const auto eq = line.find('=');
    if (eq == std::string::npos) return LanguageLine{};
    std::string value = trim_controls(std::string_view(line).substr(eq + 1));
    // Quotes keep leading and trailing blanks of a text.
    if (value.size() > 1 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return LanguageLine{trim_controls(std::string_view(line).substr(0, eq)), std::move(value)};
}

std::vector<LanguageLine> read_language_file(const std::string& path, bool& opened) {
    std::vector<LanguageLine> out;
    opened = file_exists(path);
    if (!opened) return out;
    for (const std::string& line : split_lines(file_read_all(path)))
        if (auto parsed = parse_line(line)) out.push_back(std::move(*parsed));
    return out;
}

// The configuration keeps the file name in lower case; the file itself may use capitals.
std::string language_path(const std::string& folder, const std::string& file_name) {
    const auto found = find_name_in_folder(folder, file_name);
    return folder + (found ? *found : file_name);
}

// The field of a header key, matched ignoring case; nullptr for other keys.
std::string* header_field(LANGUAGES_TYPE& l, const std::string& key) {
    const std::string k = ascii_lower_text(key);
    if (k == "language") return &l.language;
    if (k == "version") return &l.version;
    if (k == "helpfile") return &l.help_file;
    if (k == "infofile") return &l.info_file;
    if (k == "madeby title") return &l.maker_title;
    if (k == "madeby") return &l.maker;
    if (k == "email") return &l.email;
    return nullptr;
}

bool header_complete(const LANGUAGES_TYPE& l) {
    return !l.language.empty() && !l.version.empty() && !l.help_file.empty() && !l.info_file.empty() &&
           !l.maker.empty() && !l.email.empty();
}

} // namespace

LANGUAGES_TYPE built_in_language() {
    LANGUAGES_TYPE l;
    l.built_in = true;
    l.language = "English";
    l.version = std::string(product_version);
    l.help_file = "english.hlp";
    l.info_file = "default";
    l.maker_title = "Translated by:";
    return l;
}

std::optional<LANGUAGES_TYPE> languages_preload(const std::string& languages_folder,
                                                const std::string& file_name) {
    bool opened = false;
    const auto lines = read_language_file(language_path(languages_folder, file_name), opened);
    if (!opened) return std::nullopt;
    LANGUAGES_TYPE l;
    l.file_name = file_name;
    for (const auto& line : lines) {
        if (header_complete(l) && !l.maker_title.empty()) break;
        if (std::string* field = header_field(l, line.key)) *field = line.value;
    }
    if (!header_complete(l)) return std::nullopt;
    return l;
}

LanguageLoadResult languages_load(Captions& captions, const std::string& languages_folder,
                                  const std::string& file_name) {
    captions_reset(captions);
    LanguageLoadResult result;
    const auto lines = read_language_file(language_path(languages_folder, file_name), result.opened);
    LANGUAGES_TYPE header;
    for (const auto& line : lines) {
        if (std::string* field = header_field(header, line.key)) *field = line.value;
        // Header lines and other keys that are no number land in slot 0, which is never shown;
        // numbers outside the table are ignored.
        const std::int32_t slot = parse_int(line.key, 0);
        if (slot < 0 || slot >= caption_slots) continue;
        captions[static_cast<std::size_t>(slot)] = line.value;
        result.slots_set.set(static_cast<std::size_t>(slot));
    }
    if (result.opened) captions_finish(captions);
    result.language = header.language;
    return result;
}

void languages_sort(std::vector<LANGUAGES_TYPE>& languages, std::size_t first, std::size_t last) {
    if (first >= last || last >= languages.size()) return;
    std::vector<std::string> keys;
    keys.reserve(languages.size());
    for (const auto& l : languages)
        keys.push_back(ascii_lower_text(l.language));
    sort_by_keys(keys, static_cast<std::ptrdiff_t>(first), static_cast<std::ptrdiff_t>(last),
                 [&](std::size_t i, std::size_t j) { std::swap(languages[i], languages[j]); });
}

std::vector<LANGUAGES_TYPE> languages_search(const std::string& languages_folder) {
    std::vector<LANGUAGES_TYPE> languages{built_in_language()};
    for (const std::string& name : folder_list_files(languages_folder, "*.lng")) {
        if (languages.size() >= languages_max) break;
        if (auto l = languages_preload(languages_folder, name)) languages.push_back(std::move(*l));
    }
    if (languages.size() > 2) languages_sort(languages, 1, languages.size() - 1);
    return languages;
}

std::vector<std::string> languages_list(const std::vector<LANGUAGES_TYPE>& languages,
                                        const Captions& captions) {
    std::vector<std::string> rows;
    for (const auto& l : languages) {
        if (l.built_in)
            rows.push_back(l.language + "  (" + captions[caption_slot::language_built_in] + ")");
        else
            rows.push_back(l.language + "  (" + lower_text(l.file_name) + " / v" + l.version + ")");
    }
    return rows;
}

std::size_t languages_preselected_row(const std::vector<LANGUAGES_TYPE>& languages,
                                      const OPTIONS_TYPE& options) {
    for (std::size_t row = 0; row < languages.size(); ++row) {
        const auto& l = languages[row];
        if (options.use_internal_language
                ? l.built_in
                : !l.built_in && lower_text(l.file_name) == lower_text(options.language_file))
            return row;
    }
    return 0;
}

std::string help_file_path(const std::string& languages_folder, const std::string& help_file) {
    std::string name = help_file;
    if (ascii_lower_text(name).ends_with(".hlp")) name = without_last(name, 4) + ".html";
    return languages_folder + name;
}

std::string built_in_help_path(const std::string& languages_folder, const std::string& shipped_languages_folder) {
    const std::string own = help_file_path(languages_folder, built_in_language().help_file);
    if (help_available(own) || shipped_languages_folder.empty()) return own;
    const std::string shipped = help_file_path(shipped_languages_folder, built_in_language().help_file);
    return help_available(shipped) ? shipped : own;
}

std::string shipped_languages_folder() {
    const std::string data = installed_data_folder();
    return data.empty() ? std::string() : data + "languages/";
}

LanguageChoice apply_configured_language(Captions& captions, const OPTIONS_TYPE& options,
                                         const std::string& languages_folder) {
    LanguageChoice choice;
    choice.language = built_in_language().language;
    choice.help_path = built_in_help_path(languages_folder, shipped_languages_folder());
    if (options.use_internal_language) return choice;

    const auto entry = languages_preload(languages_folder, options.language_file);
    languages_load(captions, languages_folder, options.language_file);
    if (!entry) return choice;
    choice.index = 1;
    choice.language = entry->language;
    choice.code_page = code_page_for_language(entry->language);
    choice.info_file = entry->info_file;
    if (const std::string help = help_file_path(languages_folder, entry->help_file); help_available(help))
        choice.help_path = help;
    return choice;
}

} // namespace tkv
