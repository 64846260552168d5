// The manual's pages against the topic table: every topic a window can ask for has its page and
// anchor, every link between pages lands, and the word index finds pages by their words.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/files.h"
#include "shell/manual.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

const std::string help_file = TKV_TEST_DATA "/../../data/help/english.html";
const std::string manual = manual_folder(help_file);

TEST(Manual, EveryTopicOpensAnExistingPageAtItsAnchor) {
    std::set<int> numbers;
    for (const HelpTopicPage& t : help_topic_pages) {
        EXPECT_TRUE(numbers.insert(t.topic).second) << "topic " << t.topic << " twice";
        const std::string html = file_read_all(manual + std::string(t.page));
        ASSERT_FALSE(html.empty()) << t.page << " for topic " << t.topic;
        EXPECT_TRUE(html_anchors(html).contains(help_anchor(t.topic))) << t.page << " lacks " << help_anchor(t.topic);
        EXPECT_EQ(help_topic_target(t.topic), std::string(t.page) + "#topic-" + std::to_string(t.topic));
    }
    for (int panel : options_panel_topics) EXPECT_TRUE(numbers.contains(panel)) << panel;
    EXPECT_EQ(std::set<int>(options_panel_topics.begin(), options_panel_topics.end()).size(),
              options_panel_topics.size());
    EXPECT_EQ(help_topic_target(99999), std::nullopt);
}

TEST(Manual, ContentsHoldEveryPageOnceAndEachHasATitle) {
    std::set<std::string> listed;
    for (const ManualEntry& e : manual_contents()) {
        EXPECT_TRUE(listed.insert(std::string(e.page)).second) << e.page;
        EXPECT_FALSE(html_title(file_read_all(manual + std::string(e.page))).empty()) << e.page;
    }
    EXPECT_EQ(manual_contents().front().page, manual_start_page);
    for (const std::string& file : folder_list_files(manual, "*.html")) EXPECT_TRUE(listed.contains(file)) << file;
    for (const HelpTopicPage& t : help_topic_pages) EXPECT_TRUE(listed.contains(std::string(t.page))) << t.page;
}

TEST(Manual, EveryLinkBetweenPagesLands) {
    int links = 0;
    for (const ManualEntry& e : manual_contents()) {
        const std::string page(e.page);
        for (const std::string& link : html_links(file_read_all(manual + page))) {
            if (link.starts_with("http://") || link.starts_with("https://") || link.starts_with("mailto:")) continue;
            const std::size_t hash = link.find('#');
            const std::string target = hash == 0 ? page : link.substr(0, hash);
            EXPECT_EQ(target.find('/'), std::string::npos) << page << ": " << link;
            const std::string html = file_read_all(manual + target);
            EXPECT_FALSE(html.empty()) << page << ": " << link;
            if (hash != std::string::npos) {
                EXPECT_TRUE(html_anchors(html).contains(link.substr(hash + 1))) << page << ": " << link;
            }
            ++links;
        }
    }
    EXPECT_GT(links, 0);
}

TEST(Manual, ReadsTitlesLinksAnchorsAndWords) {
    const std::string html = "<html><head><title>Saving</title></head><body><h1 id=\"topic-7\">Save</h1>"
                             "<p>F2 <b>saves</b> the data&shy;base &amp; <a href='x.html#a'>Doom&nbsp;II</a> "
                             "<A HREF=y.html>Pokémon</A><a name=\"top\"></a></p></body></html>";
    EXPECT_EQ(html_title(html), "Saving");
    EXPECT_EQ(html_links(html), (std::vector<std::string>{"x.html#a", "y.html"}));
    EXPECT_EQ(html_anchors(html), (std::set<std::string>{"topic-7", "top"}));
    EXPECT_EQ(html_words(html), (std::vector<std::string>{"saving", "save", "f2", "saves", "the", "data", "base", "doom",
                                                          "ii", "pokémon"}));
}

TEST(Manual, IndexFindsPagesHoldingEveryWord) {
    ManualIndex index;
    index.add("a.html", "<p>Press F2 to save the database.</p>");
    index.add("b.html", "<p>The <b>skins</b> panel: choose a skin.</p>");
    index.add("c.html", "<p>Save a game as HTML; <i>Skin</i> catalogue.</p>");
    const struct {
        const char* query;
        std::vector<std::string> pages;
    } cases[] = {
        {"save", {"a.html", "c.html"}},       // in reading order
        {"SAVE database", {"a.html"}},        // every word, letter case ignored
        {"skin", {"b.html", "c.html"}},       // a word's beginning finds "skins"
        {"skin save", {"c.html"}},
        {"catalog", {"c.html"}},
        {"skin printer", {}},
        {"b", {}},                            // tags are not words
        {"  ", {}},
    };
    for (const auto& k : cases) EXPECT_EQ(index.find(k.query), k.pages) << k.query;
}

TEST(Manual, FolderBesideTheHelpFile) {
    EXPECT_EQ(manual_folder("/p/languages/english.html"), "/p/languages/english/");
    EXPECT_EQ(manual_folder("/p/languages/magyar"), "/p/languages/magyar/");
    test::TempDir dir;
    dir.write("one.html", "<p>single page</p>");
    dir.write("two/index.html", "<p>start</p>");
    EXPECT_TRUE(help_available(dir.path("one.html")));  // a single help file
    EXPECT_TRUE(help_available(dir.path("two.html")));  // a manual alone
    EXPECT_FALSE(help_available(dir.path("three.html")));
    EXPECT_TRUE(help_available(help_file));
}

} // namespace
} // namespace tkv
