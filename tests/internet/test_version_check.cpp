#include "internet/version_check.h"
#include "shell/publisher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace tkv {
namespace {

// Captions as "<slot|value|value>" so every caption and value shows where it went.
std::string fake_caption(int slot, std::initializer_list<std::string_view> values) {
    std::string text = "<" + std::to_string(slot);
    for (std::string_view v : values)
        text.append("|").append(v);
    return text + ">";
}

const std::string signature =
    "\r\n\r\n<19>\r\n\r\n" + std::string(publisher_display_name) + "\r\n" + std::string(publisher_info_address);

TEST(VersionFile, LatestVersionLine) {
    const std::pair<const char*, const char*> cases[] = {
        {";Trickvault\r\nLatest Version=3.51\r\n", "3.51"},
        {"latest version = 3.51 \t\r\n", "3.51"},
        {"Version=1.0\nLATEST VERSION: a=b= 3.60\nLatest Version=9.99\n", "3.60"},
        {"Latest Version=3.60", "3.60"},
        {"Latest Version=3.50\rOther=1\r", "3.50"},
        {"Latest Version=\r\nLatest Version=3.60\r\n", ""}, // the first such line decides
        {"Latest Version 3.51\r\n", ""},
        {" Latest Version=3.51\r\n", ""},
        {";Trickvault\r\nnothing here\r\n", ""},
        {"", ""},
    };
    for (const auto& [file, version] : cases)
        EXPECT_EQ(latest_version_of(file), version) << file;
}

TEST(VersionFile, NotesResourceFollowsTheLanguage) {
    EXPECT_EQ(version_notes_resource("default"), "versions/default.tku");
    EXPECT_EQ(version_notes_resource("magyar"), "versions/magyar.tku");
}

TEST(UpgradeNotes, DueOnlyForAnOlderRecordedVersion) {
    const std::tuple<const char*, const char*, bool> cases[] = {
        {"3.12", "3.50", true},
        {"2.00", "3.50", true},
        {"", "3.50", true},
        {"4.00", "3.50", false},
        {"3.50 beta", "3.50", true},
        {"3.50 BETA 2", "3.50", true},
        {"3.50b", "3.50", false}, // same version, not a beta
        {"3.50 beta 2", "3.50 beta 3", true},
        {"3.50 beta 3", "3.50 beta 2", false},
        {"3.50 beta", "3.50 beta", false},
        {"3.50", "3.50 beta", false},
    };
    for (const auto& [recorded, running, due] : cases)
        EXPECT_EQ(upgrade_notes_due(recorded, running), due) << recorded << " -> " << running;
}

TEST(UpgradeNotes, FirstRunText) {
    EXPECT_EQ(run_first_text(fake_caption),
              "<3|Trickvault>\r\n\r\n<4|3.50>\r\n\r\n<5><6><7><8><9><10><11><12><13><14><15>\r\n<19>\r\n\r\n" +
                  std::string(publisher_display_name) + "\r\n" + std::string(publisher_info_address));
}

TEST(UpgradeNotes, NewerVersionTextListsTheMissedBlocks) {
    const std::string block_312 = "\r\n\r\n3.12:\r\n====\r\n<752>\r\n<753>\r\n<754>\r\n<755>";
    const std::string block_350 = "\r\n\r\n3.50:\r\n====\r\n<758>";
    EXPECT_EQ(run_newer_text("3.11", fake_caption),
              "<17|Trickvault><18|3.50|3.11>" + block_312 + block_350 + signature);

    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"3.50 Beta", {"3.50:"}},
        {"3.12", {"3.50:"}},
        {"3.11", {"3.12:", "3.50:"}},
        {"3.10b", {"3.11:", "3.12:", "3.50:"}},
        {"2.00", {"3.10:", "3.11:", "3.12:", "3.50:"}},
        {"4.00", {}},
    };
    for (const auto& [recorded, blocks] : cases) {
        const std::string text = run_newer_text(recorded, fake_caption);
        EXPECT_NE(text.find("<18|3.50|" + std::string(recorded) + ">"), std::string::npos) << recorded;
        for (const char* heading : {"3.10:", "3.11:", "3.12:", "3.50:"}) {
            const bool wanted = std::find(blocks.begin(), blocks.end(), heading) != blocks.end();
            EXPECT_EQ(text.find(std::string("\r\n\r\n") + heading + "\r\n====") != std::string::npos, wanted)
                << recorded << " " << heading;
        }
    }
    const std::string all = run_newer_text("1.00", fake_caption);
    EXPECT_NE(all.find("====\r\n<672>\r\n<673>"), std::string::npos);
    EXPECT_NE(all.find("<684>\r\n\r\n3.11:"), std::string::npos);
}

TEST(VersionNotes, OnlyNewerSectionsAreListed) {
    const std::string text = "; comment\r\n"
                             "\r\n"
                             "[3.60]\r\n"
                             "  + Faster search \t\r\n"
                             "> Fixed printing\r\n"
                             "[3.40]\r\n"
                             "+ Old feature\r\n"
                             "[3.51]\r\n"
                             "+ Small fix";
    const NewerNotes n = newer_version_notes(text, "3.50");
    EXPECT_EQ(n.latest, "3.60");
    EXPECT_EQ(n.notes, "\r\n3.60:\r\n+ Faster search\r\n> Fixed printing\r\n\r\n3.51:\r\n+ Small fix\r\n");
}

TEST(VersionNotes, SectionRules) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // the end mark in any letter case stops reading
        {"[3.60]\n+ a\n[#end#]\n[9.00]\n+ z\n", "3.60", "\r\n3.60:\r\n+ a\r\n"},
        // section names are compared and shown in lower case
        {"[3.60 BETA]\n+ b\n", "3.60 beta", "\r\n3.60 beta:\r\n+ b\r\n"},
        // a heading without its bracket neither repeats nor ends the section
        {"[3.60]\n+ a\n[3.70\n+ b\n", "3.60", "\r\n3.60:\r\n+ a\r\n+ b\r\n"},
        {"[3.40]\n+ a\n[3.70\n+ b\n", "3.50", ""},
        // lines before any section, and the running version's own, are not news
        {"+ loose\n[3.50]\n+ same\n[3.20]\n+ old\n", "3.50", ""},
        {"", "3.50", ""},
        // a later, older section stops the collecting of lines
        {"[3.60]\r+ a\r[]\r+ b\r", "3.60", "\r\n3.60:\r\n+ a\r\n"},
    };
    for (const auto& [text, latest, notes] : cases) {
        const NewerNotes n = newer_version_notes(text, "3.50");
        EXPECT_EQ(n.latest, latest) << text;
        EXPECT_EQ(n.notes, notes) << text;
    }
}

} // namespace
} // namespace tkv
