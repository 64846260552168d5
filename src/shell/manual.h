#pragma once
// The manual: HTML pages in a folder beside the language's help file ("english.html" -> "english/"),
// which F1 opens at the window's topic. The topic table is the one list of help topics: every
// window names its topic from here, so each one has a page and an anchor "topic-<number>".

#include <array>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

// name, number, page
#define TKV_HELP_TOPICS(X)                                                                             \
    X(first_start, 10500, "getting-started.html")                                                      \
    X(manager_settings, 10502, "manager-settings.html")                                                \
    X(first_settings, 10503, "important-options.html")                                                 \
    X(main_window, 10504, "main-window.html")                                                          \
    X(launch_settings, 10506, "launch-settings.html")                                                  \
    X(info_window, 10507, "information-window.html")                                                   \
    X(search_window, 10508, "search-window.html")                                                      \
    X(about_window, 10511, "about.html")                                                               \
    X(languages_window, 10512, "languages.html")                                                       \
    X(options_window, 10513, "options.html")                                                           \
    X(shortcut_window, 10514, "shortcut.html")                                                         \
    X(profile_manager, 10515, "profile-manager.html")                                                  \
    X(new_profile, 10516, "new-profile.html")                                                          \
    X(print_window, 10520, "print.html")                                                               \
    X(restore_notes, 10521, "restore-notes.html")                                                      \
    X(statistics_window, 10522, "statistics.html")                                                     \
    X(download_window, 10523, "download-window.html")                                                  \
    X(fastest_server, 10524, "fastest-server.html")                                                    \
    X(mail_windows, 10525, "mail.html")                                                                \
    X(skin_download, 10526, "skin-download.html")                                                      \
    X(database_upgrade, 10527, "database-upgrade.html")                                                \
    X(version_windows, 10528, "versions.html")                                                         \
    X(panel_default_settings, 10540, "options-preferences.html")                                       \
    X(panel_download_files, 10541, "options-download-files.html")                                      \
    X(panel_internet, 10542, "options-internet.html")                                                  \
    X(panel_information_handling, 10543, "options-database.html")                                      \
    X(panel_editor, 10544, "options-editor.html")                                                      \
    X(panel_save, 10545, "options-save.html")                                                          \
    X(panel_print, 10546, "options-print.html")                                                        \
    X(panel_visualization, 10547, "options-visualization.html")                                        \
    X(panel_skins, 10548, "options-skins.html")                                                        \
    X(panel_information_font, 10549, "options-information-font.html")                                  \
    X(panel_refresh, 10550, "options-refresh.html")                                                    \
    X(panel_server, 10551, "options-server.html")                                                      \
    X(panel_program, 10552, "options-program.html")                                                    \
    X(panel_database_update, 10553, "options-database-update.html")                                    \
    X(panel_skin_catalogue, 10554, "options-skin-catalogue.html")                                      \
    X(panel_options, 10555, "options-options.html")

namespace help {
#define TKV_HELP_TOPIC_NUMBER(name, number, page) name = number,
enum Topic : int { TKV_HELP_TOPICS(TKV_HELP_TOPIC_NUMBER) };
#undef TKV_HELP_TOPIC_NUMBER
} // namespace help

struct HelpTopicPage {
    help::Topic topic;
    std::string_view page;
};

#define TKV_HELP_TOPIC_PAGE(name, number, page) HelpTopicPage{help::name, page},
inline constexpr std::array help_topic_pages = {TKV_HELP_TOPICS(TKV_HELP_TOPIC_PAGE)};
#undef TKV_HELP_TOPIC_PAGE

// The options window's panels in tree order, each with its own topic.
inline constexpr std::array<help::Topic, 16> options_panel_topics = {
    help::panel_default_settings, help::panel_download_files, help::panel_internet,
    help::panel_information_handling, help::panel_editor, help::panel_save, help::panel_print,
    help::panel_visualization, help::panel_skins, help::panel_information_font, help::panel_refresh,
    help::panel_server, help::panel_program, help::panel_database_update, help::panel_skin_catalogue,
    help::panel_options};

// The anchor of a topic in its page.
std::string help_anchor(int topic);
// "page.html#topic-N" inside the manual; nullopt for a number the table does not know.
std::optional<std::string> help_topic_target(int topic);

// The manual's folder for a help file ("x/languages/english.html" -> "x/languages/english/"),
// whether or not it exists; and whether a help file or its manual is there to be shown.
std::string manual_folder(const std::string& help_path);
bool help_available(const std::string& help_path);

// The contents in reading order: each page with its depth in the tree (0 or 1).
struct ManualEntry {
    std::string_view page;
    int depth;
};
const std::vector<ManualEntry>& manual_contents();
inline constexpr std::string_view manual_start_page = "index.html";

// What the pages hold, read from their HTML: the title, the targets of links ("page.html#anchor",
// "#anchor", "https://..."), the ids and names that links may point at, and the readable words.
std::string html_title(std::string_view html);
std::vector<std::string> html_links(std::string_view html);
std::set<std::string> html_anchors(std::string_view html);
std::vector<std::string> html_words(std::string_view html);

// A word index over pages: find() returns the pages holding every word of the query (a query word
// matches the beginnings of words, letter case ignored), in the order the pages were added.
class ManualIndex {
  public:
    void add(const std::string& page, std::string_view html);
    std::vector<std::string> find(std::string_view query) const;

  private:
    std::vector<std::string> pages_;
    std::map<std::string, std::set<std::size_t>> words_; // word -> page numbers
};

} // namespace tkv
