#include "shell/manual.h"

#include "shell/files.h"

#include <algorithm>
#include <iterator>

namespace tkv {

namespace {

bool word_byte(unsigned char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c >= 0x80;
}

std::string lower_ascii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The value of attribute name in the tag text starting at tag (after '<'), quoted or not.
std::optional<std::string> attribute(std::string_view tag, std::string_view name) {
    const std::string lower = lower_ascii(tag);
    for (std::size_t at = lower.find(name); at != std::string::npos; at = lower.find(name, at + 1)) {
        const bool starts = at > 0 && (lower[at - 1] == ' ' || lower[at - 1] == '\t' || lower[at - 1] == '\n');
        std::size_t p = at + name.size();
        while (p < tag.size() && tag[p] == ' ') ++p;
        if (!starts || p >= tag.size() || tag[p] != '=') continue;
        ++p;
        while (p < tag.size() && tag[p] == ' ') ++p;
        if (p >= tag.size()) return std::nullopt;
        if (tag[p] == '"' || tag[p] == '\'') {
            const std::size_t end = tag.find(tag[p], p + 1);
            if (end == std::string_view::npos) return std::nullopt;
            return std::string(tag.substr(p + 1, end - p - 1));
        }
        std::size_t end = p;
        while (end < tag.size() && tag[end] != ' ' && tag[end] != '>') ++end;
        return std::string(tag.substr(p, end - p));
    }
    return std::nullopt;
}

// Calls f with the text of every tag (between '<' and '>').
template <typename F> void for_each_tag(std::string_view html, F f) {
    for (std::size_t at = html.find('<'); at != std::string_view::npos; at = html.find('<', at + 1)) {
        const std::size_t end = html.find('>', at);
        if (end == std::string_view::npos) return;
        f(html.substr(at + 1, end - at - 1));
        at = end;
    }
}

} // namespace

std::string help_anchor(int topic) {
    return "topic-" + std::to_string(topic);
}

std::optional<std::string> help_topic_target(int topic) {
    for (const HelpTopicPage& t : help_topic_pages)
        if (t.topic == topic) return std::string(t.page) + "#" + help_anchor(topic);
    return std::nullopt;
}

std::string manual_folder(const std::string& help_path) {
    const std::string name = file_name_of_path(help_path);
    const std::size_t dot = name.rfind('.');
    return folder_of_path(help_path) + (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)) + "/";
}

bool help_available(const std::string& help_path) {
    return file_exists(help_path) || file_exists(manual_folder(help_path) + std::string(manual_start_page));
}

const std::vector<ManualEntry>& manual_contents() {
    static const std::vector<ManualEntry> contents = {
        {manual_start_page, 0},
        {"getting-started.html", 0},
        {"important-options.html", 1},
        {"profile-manager.html", 0},
        {"new-profile.html", 1},
        {"manager-settings.html", 1},
        {"shortcut.html", 1},
        {"restore-notes.html", 1},
        {"main-window.html", 0},
        {"finding-games.html", 1},
        {"search-window.html", 1},
        {"information-window.html", 1},
        {"print.html", 1},
        {"launch-settings.html", 1},
        {"mail.html", 1},
        {"download-window.html", 1},
        {"about.html", 1},
        {"statistics.html", 1},
        {"options.html", 0},
        {"options-preferences.html", 1},
        {"options-download-files.html", 1},
        {"options-internet.html", 1},
        {"options-database.html", 1},
        {"options-editor.html", 1},
        {"options-save.html", 1},
        {"options-print.html", 1},
        {"options-visualization.html", 1},
        {"options-skins.html", 1},
        {"options-information-font.html", 1},
        {"options-refresh.html", 1},
        {"options-server.html", 1},
        {"options-program.html", 1},
        {"options-database-update.html", 1},
        {"options-skin-catalogue.html", 1},
        {"options-options.html", 1},
        {"fastest-server.html", 1},
        {"database-upgrade.html", 0},
        {"versions.html", 1},
        {"skins.html", 0},
        {"skin-download.html", 1},
        {"languages.html", 0},
        {"files-and-backups.html", 0},
        {"command-line.html", 0},
        {"publishing.html", 0},
    };
    return contents;
}

std::string html_title(std::string_view html) {
    const std::string lower = lower_ascii(html);
    const std::size_t open = lower.find("<title>");
    const std::size_t close = lower.find("</title>");
    if (open == std::string::npos || close == std::string::npos || close < open) return {};
    return std::string(html.substr(open + 7, close - open - 7));
}

std::vector<std::string> html_links(std::string_view html) {
    std::vector<std::string> links;
    for_each_tag(html, [&](std::string_view tag) {
        if (tag.size() < 2 || (tag[0] != 'a' && tag[0] != 'A') || tag[1] != ' ') return;
        if (auto href = attribute(tag, "href")) links.push_back(*href);
    });
    return links;
}

std::set<std::string> html_anchors(std::string_view html) {
    std::set<std::string> anchors;
    for_each_tag(html, [&](std::string_view tag) {
        if (auto id = attribute(tag, "id")) anchors.insert(*id);
        if (auto name = attribute(tag, "name")) anchors.insert(*name);
    });
    return anchors;
}

std::vector<std::string> html_words(std::string_view html) {
    std::vector<std::string> words;
    std::string word;
    const auto end_word = [&] {
        if (!word.empty()) words.push_back(lower_ascii(word));
        word.clear();
    };
    for (std::size_t i = 0; i < html.size(); ++i) {
        const char c = html[i];
        if (c == '<' || c == '&') { // a tag or an entity is a word break, never a word
            end_word();
            const std::size_t end = html.find(c == '<' ? '>' : ';', i);
            if (end == std::string_view::npos) break;
            if (c == '&' && end - i > 10) continue; // a lone "&" in the text
            i = end;
        } else if (word_byte(static_cast<unsigned char>(c))) {
            word += c;
        } else {
            end_word();
        }
    }
    end_word();
    return words;
}

void ManualIndex::add(const std::string& page, std::string_view html) {
    const std::size_t number = pages_.size();
    pages_.push_back(page);
    for (std::string& w : html_words(html)) words_[std::move(w)].insert(number);
}

std::vector<std::string> ManualIndex::find(std::string_view query) const {
    const std::vector<std::string> wanted = html_words(query);
    if (wanted.empty()) return {};
    std::set<std::size_t> found;
    for (std::size_t q = 0; q < wanted.size(); ++q) {
        std::set<std::size_t> with_word;
        for (auto it = words_.lower_bound(wanted[q]); it != words_.end() && it->first.starts_with(wanted[q]); ++it)
            with_word.insert(it->second.begin(), it->second.end());
        if (q == 0) {
            found = std::move(with_word);
        } else {
            std::set<std::size_t> both;
            std::set_intersection(found.begin(), found.end(), with_word.begin(), with_word.end(),
                                  std::inserter(both, both.end()));
            found = std::move(both);
        }
    }
    std::vector<std::string> pages;
    for (std::size_t n : found) pages.push_back(pages_[n]);
    return pages;
}

} // namespace tkv
