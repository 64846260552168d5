#include "database/save_info.h"
#include "database/text_export.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

#include "shell/publisher.h"

namespace tkv {
namespace {

constexpr std::string_view default_home_page = "http://www.trickvault.example/";

Captions english() {
    Captions c;
    captions_reset(c);
    return c;
}

// A game with every part filled: HTML and RTF must leave out its files and home pages.
GAMES2_TEMP_ARRAY_TYPE small_record() {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.names = "Abc\r\nAbc 2";
    g.title = "Abc";
    g.infos = {{"Cheats", "Press 1 2 3\r\nC:\\GAMES\\ABC\r\n"}, {"Tip", "Jump"}};
    g.files = {{"file://p.zip", "1 KB", "Patch", "Fix"}, {"http://x.example/f.zip", "", "", ""}};
    g.homepages = {{"http://x.example/", "Site", ""}};
    g.user_text = "Mine";
    return g;
}

const ExportStyle style{"Arial", 0x00FF80, 0x102030};

const std::string html_footer =
    "<p>&nbsp;</p>\r\n"
    R"(<hr size="1" align="center">)"
    "\r\n"
    "<center><font size=-2>Trickvault v3.50</font><br>\r\n"
    "\r\n"
    R"(<center><font size=-2><a href="http://www.trickvault.example/" target="_top">)"
    R"(http://www.trickvault.example/</a></font></center>)"
    "\r\n"
    "</body>\r\n"
    "</html>\r\n";

const std::string rtf_header =
    R"({\rtf1\ansi \deff0\deflang1024{\fonttbl{\f0\froman Times New Roman;}{\f1\froman Symbol;}{\f2\fswiss Arial;})"
    R"({\f3\fmodern Courier New;}}{\colortbl;\red0\green0\blue0;\red0\green0\blue255;\red0\green255\blue255;)"
    "\r\n"
    R"(\red0\green255\blue0;\red255\green0\blue255;\red255\green0\blue0;\red255\green255\blue0;)"
    R"(\red255\green255\blue255;\red0\green0\blue127;\red0\green127\blue127;\red0\green127\blue0;)"
    R"(\red127\green0\blue127;\red127\green0\blue0;\red127\green127\blue0;)"
    "\r\n"
    R"(\red127\green127\blue127;\red192\green192\blue192;}{\stylesheet{\fs20\lang1033 \snext0 Normal;}})"
    R"({\info{\creatim\yr2000\mo11\dy17\hr21\min41}{\revtim\yr2000\mo11\dy17\hr21\min41}{\version1}{\edmins32})"
    R"({\nofpages0}{\nofwords0}{\nofchars0}{\vern16504}})"
    "\r\n"
    R"(\paperw11906\paperh16838\margl1800\margr1800\margt1440\margb1440\gutter0 \widowctrl\ftnbj \sectd )"
    R"(\linex0\headery709\footery709\colsx709\endnhere \pard\plain \fs20\lang1033 {\b\f3\fs28\ul )";

// The hyperlink's datafield carries the address's UTF-16 size (31 characters with the zero: 0x3e)
// and the address in UTF-16LE.
const std::string rtf_footer =
    "\r\n"
    R"(\par })"
    "\r\n"
    R"(\par)"
    "\r\n"
    R"(\par \pard \qc\widctlpar\brdrt\brdrs\brdrw10\brsp20 \adjustright {\f3 Trickvault v3.50)"
    "\r\n"
    "\r\n"
    R"(\par {\field\flddirty{\*\fldinst {\f2 HYPERLINK "http://www.trickvault.example/"}{\f3 {\*\datafield )"
    "00d0c9ea79f9bace118c8200aa004ba90b0200000003000000e0c9ea79f9bace118c8200aa004ba90b3e000000"
    "68007400740070003a002f002f007700770077002e0074007200690063006b007600610075006c0074002e00"
    "6500780061006d0070006c0065002f000000"
    R"(}}}{\fldrslt {\cs15\f3\ul\cf2 http://www.trickvault.example/}}}{\f3\par }\par }})";

class TextExport : public ::testing::Test {
  protected:
    void SetUp() override {
        if (home_page_address != default_home_page) GTEST_SKIP() << "built with another publisher's address";
    }
    const Captions captions = english();
};

TEST(TextTitle, UnderlineIsAsLongAsTheTitleWithItsColon) {
    EXPECT_EQ(games_convert_data_to_text_title("Cheats", '-'), "Cheats:\r\n-------\r\n");
    EXPECT_EQ(games_convert_data_to_text_title("\xC3\x89g", '='), "\xC3\x89g:\r\n====\r\n"); // bytes count
    EXPECT_EQ(games_convert_data_to_text_title("", '='), ":\r\n=\r\n");
}

TEST_F(TextExport, PlainTextOfTheSimplestGame) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "Abc";
    g.infos = {{"Cheats", "Press 1 2 3"}};
    EXPECT_EQ(games_convert_data_to_text(g, captions), "Abc:\r\n"
                                                       "====\r\n"
                                                       "\r\n"
                                                       "Cheats:\r\n"
                                                       "-------\r\n"
                                                       "Press 1 2 3\r\n"
                                                       "\r\n");
    EXPECT_EQ(games_convert_data_to_text(GAMES2_TEMP_ARRAY_TYPE{}, captions), ":\r\n=\r\n\r\n");
}

TEST_F(TextExport, PlainTextListsFilesHomePagesAndTheUsersText) {
    EXPECT_EQ(games_convert_data_to_text(small_record(), captions),
              "Abc:\r\n====\r\n\r\n"
              "Cheats:\r\n-------\r\nPress 1 2 3\r\nC:\\GAMES\\ABC\r\n\r\n\r\n"
              "Tip:\r\n----\r\nJump\r\n\r\n"
              "Files:\r\n------\r\n"
              "Patch\r\nfile://p.zip\r\n1 KB\r\nFix\r\n\r\n"
              "http://x.example/f.zip\r\n\r\n" // a file with only its address
              "Home page:\r\n----------\r\n"
              "Site\r\nhttp://x.example/\r\n\r\n"
              "User's information:\r\n-------------------\r\nMine\r\n");
}

TEST_F(TextExport, HtmlDocument) {
    const std::string head = "<html>\r\n"
                             "<head>\r\n"
                             R"(<meta http-equiv="Content-Type" content="text/html; charset=iso-8859-1">)"
                             "\r\n"
                             "<title>Abc</title>\r\n"
                             "</head>\r\n"
                             R"(<body bgcolor="#00FF80" text="#102030">)"
                             "\r\n"
                             R"(<pre><b><font face="Arial, Courier New, Courier, Lucida Console" size=4>Abc:)"
                             "</font></b></pre>\r\n";
    EXPECT_EQ(
        games_convert_data_to_html(small_record(), captions, style),
        head +
            R"(<pre><u><font face="Arial, Courier New, Courier, Lucida Console" size=3>Cheats:)"
            "</font></u></pre>\r\n"
            R"(<pre><font face="Arial, Courier New, Courier, Lucida Console" size=3>Press 1 2 3)"
            "\r\n"
            "C:\\GAMES\\ABC\r\n"
            "</font></pre>\r\n"
            R"(<pre><u><font face="Arial, Courier New, Courier, Lucida Console" size=3>Tip:)"
            "</font></u></pre>\r\n"
            R"(<pre><font face="Arial, Courier New, Courier, Lucida Console" size=3>Jump</font></pre>)"
            "\r\n"
            R"(<pre><u><font face="Arial, Courier New, Courier, Lucida Console" size=3>User's information:)"
            "</font></u></pre>\r\n"
            R"(<pre><font face="Arial, Courier New, Courier, Lucida Console" size=3>Mine</font></pre>)"
            "\r\n" +
            html_footer);

    GAMES2_TEMP_ARRAY_TYPE bare;
    bare.title = "Abc";
    EXPECT_EQ(games_convert_data_to_html(bare, captions, style), head + html_footer);
}

TEST_F(TextExport, RtfDocument) {
    EXPECT_EQ(games_convert_data_to_rtf(small_record(), captions),
              rtf_header + "Abc:" +
                  "\r\n"
                  R"(\par }{\f3)"
                  "\r\n"
                  R"(\par }{\plain \f3\ul\lang1033 Cheats:)"
                  "\r\n"
                  R"(\par }{\f3 Press 1 2 3)"
                  "\r\n"
                  R"(\par }{\f3 C:\\GAMES\\ABC)" // the final line break adds no line
                  "\r\n"
                  R"(\par }{\f3)"
                  "\r\n"
                  R"(\par }{\plain \f3\ul\lang1033 Tip:)"
                  "\r\n"
                  R"(\par }{\f3 Jump)"
                  "\r\n"
                  R"(\par }{\f3)"
                  "\r\n"
                  R"(\par }{\plain \f3\ul\lang1033 User's information:)"
                  "\r\n"
                  R"(\par }{\f3 Mine)" +
                  rtf_footer);

    GAMES2_TEMP_ARRAY_TYPE bare;
    bare.title = "Abc";
    EXPECT_EQ(games_convert_data_to_rtf(bare, captions), rtf_header + "Abc:" + rtf_footer);
}

TEST_F(TextExport, InsertedTextsAreEscaped) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "A&B <1>";
    g.infos = {{"{x}", "a\\b<c>&{}"}};
    const std::string html = games_convert_data_to_html(g, captions, {"F&G<", 0, 0});
    EXPECT_NE(html.find("<title>A&amp;B &lt;1&gt;</title>"), std::string::npos);
    EXPECT_NE(
        html.find(
            R"(<font face="F&amp;G&lt;, Courier New, Courier, Lucida Console" size=4>A&amp;B &lt;1&gt;:)"),
        std::string::npos);
    EXPECT_NE(html.find("size=3>{x}:</font>"), std::string::npos);
    EXPECT_NE(html.find("size=3>a\\b&lt;c&gt;&amp;{}</font>"), std::string::npos);

    const std::string rtf = games_convert_data_to_rtf(g, captions);
    EXPECT_NE(rtf.find(R"({\b\f3\fs28\ul A&B <1>:)"), std::string::npos);
    EXPECT_NE(rtf.find(R"(\lang1033 \{x\}:)"), std::string::npos);
    EXPECT_NE(rtf.find(R"({\f3 a\\b<c>&\{\})"), std::string::npos);
}

std::string words(int n) {
    std::string r = "abcd";
    for (int i = 1; i < n; ++i)
        r += " abcd";
    return r;
}

TEST_F(TextExport, SavedDocumentsAreWrappedAndRecoded) {
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "\xF4\xF5\x93";
    g.infos = {{"T", words(16)}};
    const std::string body = "T:\r\n--\r\n" + words(14) + "\r\n" + words(2) + "\r\n";
    // DOS text: o with circumflex and o with double acute both become 147.
    EXPECT_EQ(export_document(g, SaveType::dos_text, captions, style),
              "\x93\x93\x93:\r\n====\r\n\r\n" + body);
    // Windows text: already in the Windows code page, written as it is.
    EXPECT_EQ(export_document(g, SaveType::windows_text, captions, style),
              "\xF4\xF5\x93:\r\n====\r\n\r\n" + body);
    EXPECT_EQ(export_document(g, SaveType::rtf, captions, style), games_convert_data_to_rtf(g, captions));

    // The 72-byte <meta> line breaks at its last space before column 70.
    const std::string html = export_document(g, SaveType::html, captions, style);
    EXPECT_NE(html.find("<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html;\r\n"
                        "charset=iso-8859-1\">\r\n<title>"),
              std::string::npos);
}

TEST(SaveDialog, TypeFromOptionAndProposedName) {
    EXPECT_EQ(save_type_from_option(0), SaveType::html);
    EXPECT_EQ(save_type_from_option(1), SaveType::windows_text);
    EXPECT_EQ(save_type_from_option(2), SaveType::dos_text);
    EXPECT_EQ(save_type_from_option(3), SaveType::rtf);
    EXPECT_EQ(save_type_from_option(4), SaveType::rtf);
    EXPECT_EQ(save_type_from_option(255), SaveType::rtf);
    EXPECT_EQ(export_file_name(" Doom: \"Hell\" <on> Earth?\\/|*\t "), "Doom Hell on Earth");
}

} // namespace
} // namespace tkv

namespace tkv {
namespace {

TEST(SaveInfo, DialogAndWriting) {
    Captions captions;
    captions_reset(captions);
    GAMES2_TEMP_ARRAY_TYPE g;
    g.title = "Half-Life: \xC9";
    g.infos = {{"Cheats", "impulse 101"}};
    OPTIONS_TYPE options;
    options.save_folder = "/home/anna/";
    options.save_file_type = 2;
    const FileDialogRequest r =
        save_info_dialog(g, captions, CodePage::windows_1252, CodePage::windows_1252, options);
    EXPECT_EQ(r.title, "Trickvault - Save (Half-Life: \xC3\x89)");
    EXPECT_EQ(r.file_name, "Half-Life \xC3\x89");
    ASSERT_EQ(r.filters.size(), 4u);
    EXPECT_EQ(r.filters[0].pattern, "*.htm;*.html");
    EXPECT_EQ(r.filters[2].label, "DOS text file (*.txt)");
    EXPECT_EQ(r.filter_index, 3);
    EXPECT_EQ(r.filter_extensions, (std::vector<std::string>{"html", "txt", "txt", "rtf"}));

    test::TempDir dir;
    ASSERT_TRUE(save_info_file(g, dir.path("hl.txt"), SaveType::dos_text, options, captions, {}));
    EXPECT_EQ(options.save_folder, dir.folder());
    EXPECT_EQ(options.save_file_type, 2); // the chosen type does not change the option
    EXPECT_EQ(dir.read("hl.txt"), export_document(g, SaveType::dos_text, captions, {}));
    options.save_to_last_folder = false;
    EXPECT_FALSE(save_info_file(g, dir.path("none/hl.txt"), SaveType::rtf, options, captions, {}));
    EXPECT_EQ(options.save_folder, dir.folder());
}

} // namespace
} // namespace tkv
