#include "platform/print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tkv {

namespace {

bool is_continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

std::string replace_all(std::string s, std::string_view find, std::string_view with) {
    for (std::size_t at = s.find(find); at != std::string::npos; at = s.find(find, at + with.size()))
        s.replace(at, find.size(), with);
    return s;
}

std::string footer_text(const std::string& footer, int page_count, int page) {
    return replace_all(replace_all(footer, "{PAGESCOUNT}", std::to_string(page_count)), "{PAGESINDEX}",
                       std::to_string(page));
}

int to_pixels(int millimetres, int dpi) {
    return static_cast<int>(std::lround(dpi * millimetres / 25.4));
}

// Of the prefix lengths in cuts (ascending), the longest whose prefix of line fits; npos when none
// does. Printed widths grow with the prefix, so halving finds it with few measurements even in
// lines of many thousand characters.
std::size_t longest_fitting(const std::string& line, const std::vector<std::size_t>& cuts, int width,
                            const TextMeasurer& measurer) {
    std::size_t low = 0;
    std::size_t high = cuts.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        if (measurer.width(std::string_view(line).substr(0, cuts[middle]), PrintFont::body) <= width)
            low = middle + 1;
        else
            high = middle;
    }
    return low == 0 ? std::string::npos : cuts[low - 1];
}

// The longest beginning of a line too wide to print whole: cut before a space while one is left,
// else character by character, but never below one character: a character wider than the line
// takes a line of its own.
std::string piece_that_fits(const std::string& line, int width, const TextMeasurer& measurer) {
    std::vector<std::size_t> spaces;
    for (std::size_t at = line.find(' '); at != std::string::npos; at = line.find(' ', at + 1))
        spaces.push_back(at);
    if (const std::size_t cut = longest_fitting(line, spaces, width, measurer); cut != std::string::npos)
        return line.substr(0, cut);
    const std::size_t word = spaces.empty() ? line.size() : spaces.front();
    std::vector<std::size_t> characters; // the lengths of the word's first 1, 2, ... characters
    for (std::size_t end = 1; end <= word; ++end)
        if (end == word || !is_continuation(line[end])) characters.push_back(end);
    if (characters.empty()) return line.substr(0, word);
    const std::size_t cut = longest_fitting(line, characters, width, measurer);
    return line.substr(0, cut == std::string::npos ? characters.front() : cut);
}

// A line of only "-" or "=" as long as the line above it underlines that line: it gets as many
// characters as it takes to reach the printed width of the line above.
void stretch_underline(std::vector<std::string>& lines, std::size_t i, const TextMeasurer& measurer) {
    if (i == 0) return;
    std::string& line = lines[i];
    const std::string& above = lines[i - 1];
    if (line.empty() || (line[0] != '-' && line[0] != '=')) return;
    if (line.find_first_not_of(line[0]) != std::string::npos) return;
    if (print_characters(line) != print_characters(above)) return;
    const char mark = line[0];
    const int one = measurer.width(std::string(1, mark), PrintFont::body);
    if (one <= 0) return;
    const int target = measurer.width(above, PrintFont::body);
    const auto reaches = [&](std::size_t count) {
        return measurer.width(std::string(count, mark), PrintFont::body) >= target;
    };
    // Start from the width of one mark and correct for what kerning adds or takes; marks at least
    // a pixel wide reach any target with target marks.
    std::size_t count = static_cast<std::size_t>(std::max(1, target / one));
    while (!reaches(count) && count < static_cast<std::size_t>(target))
        ++count;
    while (count > 1 && reaches(count - 1))
        --count;
    line.assign(count, mark);
}

struct LineHeights {
    int body = 0;
    int header = 0;
    int footer = 0;
};

struct Pass {
    int pages = 1;
    std::vector<PlacedText> texts;
};

// One run over the body. The measuring run (draw false) only counts pages; page_count is what the
// footers print.
Pass layout_pass(const PrintDocument& d, const PageMetrics& page, const MarginsPx& m, const LineHeights& h,
                 const TextMeasurer& measurer, int page_count, bool draw) {
    Pass pass;
    std::vector<std::string> body = d.body; // wrapping and stretching change lines
    const int w = page.physical_width;
    const int p = page.physical_height;
    const int text_width = w - m.left - m.right;
    const int header_block = static_cast<int>(d.header.size()) * h.header + h.body;
    const int next_page_top = m.top + (d.header_only_first_page ? 0 : header_block);
    int y = m.top;
    bool new_page = true;
    std::size_t i = 0;

    const auto place = [&](PrintFont font, int x, int at_y, std::string text) {
        if (draw) pass.texts.push_back({pass.pages, font, x - page.offset_x, at_y - page.offset_y, std::move(text)});
    };

    while (i < body.size()) {
        if (new_page) {
            if (pass.pages == 1 || !d.header_only_first_page) {
                for (const std::string& line : d.header) {
                    place(PrintFont::header, m.left, y, line);
                    y += h.header;
                }
                y += h.body;
            }
            new_page = false;
            std::string footer = footer_text(d.footer, page_count, pass.pages);
            const int footer_x = m.left + (w - m.left - m.right - measurer.width(footer, PrintFont::footer)) / 2;
            place(PrintFont::footer, footer_x, p - h.footer - m.bottom, std::move(footer));
        } else if (p < y + 2 * h.body + h.footer + m.bottom && y > next_page_top) {
            // Only when the next page has more room: a page too small for one line still takes it.
            ++pass.pages;
            y = m.top;
            new_page = true;
        } else if (d.word_wrap && print_characters(body[i]) > 1 &&
                   measurer.width(body[i], PrintFont::body) > text_width) {
            std::string piece = piece_that_fits(body[i], text_width, measurer);
            const std::size_t rest = body[i].find_first_not_of(' ', piece.size());
            body[i] = rest == std::string::npos ? std::string() : body[i].substr(rest);
            place(PrintFont::body, m.left, y, std::move(piece));
            y += h.body;
        } else {
            stretch_underline(body, i, measurer);
            place(PrintFont::body, m.left, y, body[i]);
            y += h.body;
            ++i;
        }
    }
    return pass;
}

} // namespace

std::size_t print_characters(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !is_continuation(c); }));
}

MarginsPx margins_in_pixels(const MarginsMm& mm, const PageMetrics& page) {
    const int right_border = page.physical_width - page.printable_width - page.offset_x;
    const int bottom_border = page.physical_height - page.printable_height - page.offset_y;
    return {std::max(to_pixels(mm.top, page.dpi_y), page.offset_y),
            std::max(to_pixels(mm.bottom, page.dpi_y), bottom_border),
            std::max(to_pixels(mm.left, page.dpi_x), page.offset_x),
            std::max(to_pixels(mm.right, page.dpi_x), right_border)};
}

int print_line_height(const TextMeasurer& measurer, PrintFont font) {
    std::string sample;
    for (char c = ' '; c <= '~'; ++c)
        sample += c;
    sample += "\u00A6"; // the broken bar reaches lower than the letters
    return measurer.height(sample, font);
}

PageLayout layout_pages(const PrintDocument& document, const PageMetrics& page, const MarginsMm& margins,
                        const TextMeasurer& measurer) {
    const MarginsPx m = margins_in_pixels(margins, page);
    const LineHeights h{print_line_height(measurer, PrintFont::body), print_line_height(measurer, PrintFont::header),
                        print_line_height(measurer, PrintFont::footer)};
    const int page_count = layout_pass(document, page, m, h, measurer, 0, false).pages;
    return {page_count, layout_pass(document, page, m, h, measurer, page_count, true).texts};
}

} // namespace tkv
