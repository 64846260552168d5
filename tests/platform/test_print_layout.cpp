#include "platform/print_layout.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tkv {
namespace {

// Letters 10 pixels wide, "W" 14, "-" 4 and "=" 6, so underlines and titles differ in width as in
// a proportional font. Lines are 20 pixels high in the body, 30 in the header, 16 in the footer.
class FixedMeasurer : public TextMeasurer {
  public:
    int width(std::string_view text, PrintFont) const override {
        int w = 0;
        for (char c : text) {
            if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue; // one character per code point
            w += c == 'W' ? 14 : c == '-' ? 4 : c == '=' ? 6 : 10;
        }
        return w;
    }
    int height(std::string_view, PrintFont font) const override {
        return font == PrintFont::body ? 20 : font == PrintFont::header ? 30 : 16;
    }
};

// 254 dots per inch: one millimetre is ten pixels. The printable area lies 20 pixels in from the
// left and right edges and 30 from the top and bottom.
const PageMetrics sheet{1000, 1500, 960, 1440, 20, 30, 254, 254};
const FixedMeasurer measurer;

std::vector<std::string> numbered_lines(int count) {
    std::vector<std::string> lines;
    for (int n = 1; n <= count; ++n)
        lines.push_back("line " + std::to_string(n));
    return lines;
}

std::string repeat(const std::string& text, int times) {
    std::string r;
    for (int n = 0; n < times; ++n)
        r += text;
    return r;
}

std::vector<PlacedText> of_font(const PageLayout& layout, PrintFont font) {
    std::vector<PlacedText> r;
    for (const PlacedText& t : layout.texts)
        if (t.font == font) r.push_back(t);
    return r;
}

std::vector<std::string> body_texts(const PageLayout& layout) {
    std::vector<std::string> r;
    for (const PlacedText& t : of_font(layout, PrintFont::body))
        r.push_back(t.text);
    return r;
}

TEST(PrintLayout, OneLinePrintsOnePageWithHeaderBodyAndCentredFooter) {
    PrintDocument d;
    d.header = {"Name of the game: Abc", "Rows: 1"};
    d.body = {"Press 1 2 3"};
    d.footer = "{PAGESCOUNT} / {PAGESINDEX}. page";
    const PageLayout layout = layout_pages(d, sheet, {}, measurer);

    // Margins of 15 mm are 150 pixels; the canvas starts 20 and 30 pixels into the sheet.
    const std::vector<PlacedText> expected = {
        {1, PrintFont::header, 130, 120, "Name of the game: Abc"},
        {1, PrintFont::header, 130, 150, "Rows: 1"},
        // centred between the margins: 150 + (1000 - 300 - 110) / 2, above the bottom margin
        {1, PrintFont::footer, 425, 1304, "1 / 1. page"},
        // under the header and one empty body line
        {1, PrintFont::body, 130, 200, "Press 1 2 3"},
    };
    EXPECT_EQ(layout.page_count, 1);
    EXPECT_EQ(layout.texts, expected);
}

// Page 1: the body starts at 150 + 2 x 30 + 20 = 230; a line still goes on while
// 1500 >= y + 2 x 20 + 16 + 150, so up to y = 1290: 54 lines. Later pages start at the top margin
// and take 58.
TEST(PrintLayout, PagesBreakAboveTheFooterAndLaterPagesStartAtTheTopMargin) {
    PrintDocument d;
    d.header = {"H1", "H2"};
    d.body = numbered_lines(54 + 58 + 1);
    d.footer = "Page {PAGESINDEX} of {PAGESCOUNT} ({PAGESINDEX})";

    for (const bool header_only_first_page : {true, false}) {
        SCOPED_TRACE(header_only_first_page);
        d.header_only_first_page = header_only_first_page;
        const PageLayout layout = layout_pages(d, sheet, {}, measurer);
        EXPECT_EQ(body_texts(layout), d.body) << "every line once, in order";

        std::vector<std::string> footers;
        for (const PlacedText& t : of_font(layout, PrintFont::footer))
            footers.push_back(std::to_string(t.page) + ": " + t.text);
        std::vector<int> header_pages;
        for (const PlacedText& t : of_font(layout, PrintFont::header))
            header_pages.push_back(t.page);

        const std::vector<PlacedText> body = of_font(layout, PrintFont::body);
        if (header_only_first_page) {
            EXPECT_EQ(layout.page_count, 3);
            EXPECT_EQ(footers, (std::vector<std::string>{"1: Page 1 of 3 (1)", "2: Page 2 of 3 (2)",
                                                          "3: Page 3 of 3 (3)"}));
            EXPECT_EQ(header_pages, (std::vector<int>{1, 1}));
            EXPECT_EQ(body[53], (PlacedText{1, PrintFont::body, 130, 1290 - 30, "line 54"}));
            EXPECT_EQ(body[54], (PlacedText{2, PrintFont::body, 130, 150 - 30, "line 55"}));
            EXPECT_EQ(body[112], (PlacedText{3, PrintFont::body, 130, 150 - 30, "line 113"}));
        } else {
            // every page loses the header block to the header: 54 lines each
            EXPECT_EQ(layout.page_count, 3);
            EXPECT_EQ(header_pages, (std::vector<int>{1, 1, 2, 2, 3, 3}));
            EXPECT_EQ(body[54], (PlacedText{2, PrintFont::body, 130, 230 - 30, "line 55"}));
            EXPECT_EQ(body[108].page, 3);
        }
    }
}

// The printable width is 1000 - 2 x 150 = 700 pixels: 70 plain letters.
TEST(PrintLayout, LongLinesWrapByPrintedWidth) {
    const std::string words = std::string(40, 'a') + " " + std::string(25, 'b') + "   " + std::string(20, 'c');
    const std::string one_word = std::string(75, 'x');
    const std::string wide_letters = std::string(60, 'W'); // 840 pixels, 50 fit

    struct Case {
        std::string line;
        bool word_wrap;
        std::vector<std::string> printed;
    };
    const std::vector<Case> cases = {
        // cut at the last space that fits, which keeps the spaces before it
        {words, true, {std::string(40, 'a') + " " + std::string(25, 'b') + "  ", std::string(20, 'c')}},
        {one_word, true, {std::string(70, 'x'), std::string(5, 'x')}},
        {wide_letters, true, {std::string(50, 'W'), std::string(10, 'W')}},
        {one_word + " yy", true, {std::string(70, 'x'), "xxxxx yy"}}, // no space early enough
        {repeat("\xC3\xA9", 75), true, {repeat("\xC3\xA9", 70), repeat("\xC3\xA9", 5)}}, // whole characters
        {one_word, false, {one_word}},
        {std::string(70, 'y'), true, {std::string(70, 'y')}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        PrintDocument d;
        d.body = {c.line, "after"};
        d.word_wrap = c.word_wrap;
        std::vector<std::string> printed = c.printed;
        printed.push_back("after");
        EXPECT_EQ(body_texts(layout_pages(d, sheet, {}, measurer)), printed);
    }
}

TEST(PrintLayout, UnderlinesStretchToThePrintedWidthOfTheirTitle) {
    struct Case {
        std::vector<std::string> body;
        std::vector<std::string> printed;
    };
    const std::vector<Case> cases = {
        // "Cheats:" is 70 pixels wide: 18 minus signs of 4 reach it, 17 do not
        {{"Cheats:", "-------", "text"}, {"Cheats:", std::string(18, '-'), "text"}},
        {{"Abc:", "===="}, {"Abc:", std::string(7, '=')}},
        {{"Cheats:", "----"}, {"Cheats:", "----"}},          // not as long as the title
        {{"-------"}, {"-------"}},                          // nothing above it
        {{"Cheats:", "---=---"}, {"Cheats:", "---=---"}},    // mixed characters
        {{"\xC3\xA9t\xC3\xA9:", "----"}, {"\xC3\xA9t\xC3\xA9:", std::string(10, '-')}}, // counted in characters
        {{"WWWW", "----", "----"}, {"WWWW", std::string(14, '-'), "----"}}, // compared with the stretched line
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body.front());
        PrintDocument d;
        d.body = c.body;
        EXPECT_EQ(body_texts(layout_pages(d, sheet, {}, measurer)), c.printed);
    }
}

TEST(PrintLayout, MarginsAreConvertedPerAxisAndRaisedToTheUnprintableBorder) {
    struct Case {
        MarginsMm mm;
        PageMetrics page;
        MarginsPx px;
    };
    const PageMetrics half_dpi_y{1000, 1500, 960, 1440, 20, 30, 254, 127};
    const PageMetrics uneven{1000, 1500, 900, 1400, 60, 10, 254, 254};
    const Case cases[] = {
        {{15, 15, 15, 15}, sheet, {150, 150, 150, 150}},
        {{0, 0, 0, 0}, sheet, {30, 30, 20, 20}},
        {{15, 15, 15, 15}, half_dpi_y, {75, 75, 150, 150}},
        {{0, 0, 0, 0}, uneven, {10, 90, 60, 40}},
        {{2, 9, 7, 3}, uneven, {20, 90, 70, 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(margins_in_pixels(c.mm, c.page), c.px);

    // With no margins of its own the text starts where the printer can print: the canvas origin.
    PrintDocument d;
    d.header = {"top"};
    d.body = {"x"};
    const PageLayout layout = layout_pages(d, sheet, {0, 0, 0, 0}, measurer);
    EXPECT_EQ(layout.texts.front(), (PlacedText{1, PrintFont::header, 0, 0, "top"}));
}

TEST(PrintLayout, PagesTooSmallForTheirTextStillEnd) {
    // 50 and 49 mm at the sides leave 10 pixels: less than one "W", just one "a".
    PrintDocument d;
    d.body = {"WWW", "a b"};
    const PageLayout narrow = layout_pages(d, sheet, {15, 15, 50, 49}, measurer);
    EXPECT_EQ(body_texts(narrow), (std::vector<std::string>{"W", "W", "W", "a", "b"}));

    // A sheet whose margins leave no room for a line: the first page holds the header, every
    // later page one line.
    const PageMetrics tiny{1000, 340, 960, 280, 20, 30, 254, 254};
    d.header = {"header"};
    d.body = {"one", "two", "three"};
    const PageLayout low = layout_pages(d, tiny, {}, measurer);
    EXPECT_EQ(body_texts(low), d.body);
    EXPECT_EQ(low.page_count, 4);
}

} // namespace
} // namespace tkv
