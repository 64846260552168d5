#pragma once
// The printed pages of a text: where each line goes, worked out before anything is drawn. A first
// pass only counts the pages, so that the second, whose positions are drawn, can print the page
// count in every footer. Texts are UTF-8; sizes are printer pixels.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

enum class PrintFont { body, header, footer };

// How the printer will print a text in one of the three fonts.
class TextMeasurer {
  public:
    virtual ~TextMeasurer() = default;
    virtual int width(std::string_view text, PrintFont font) const = 0;
    virtual int height(std::string_view text, PrintFont font) const = 0;
};

// The sheet as the printer reports it. The canvas starts at the printable area, which lies
// offset_x, offset_y into the physical page.
struct PageMetrics {
    int physical_width = 0;
    int physical_height = 0;
    int printable_width = 0;
    int printable_height = 0;
    int offset_x = 0;
    int offset_y = 0;
    int dpi_x = 0;
    int dpi_y = 0;
};

struct MarginsMm {
    int top = 15;
    int bottom = 15;
    int left = 15;
    int right = 15;
};

struct MarginsPx {
    int top = 0;
    int bottom = 0;
    int left = 0;
    int right = 0;
    friend bool operator==(const MarginsPx&, const MarginsPx&) = default;
};

// The characters of a UTF-8 text: a line and its underline have as many as the single-byte texts
// they were made of.
std::size_t print_characters(std::string_view text);

// Millimetres in pixels of each axis, each raised to the unprintable border on its side.
MarginsPx margins_in_pixels(const MarginsMm& margins, const PageMetrics& page);

// The line height of a font: the height of every printable ASCII character and the broken bar.
int print_line_height(const TextMeasurer& measurer, PrintFont font);

struct PrintDocument {
    std::vector<std::string> header; // the block above the body
    std::vector<std::string> body;
    std::string footer; // "{PAGESCOUNT}" and "{PAGESINDEX}" become the count and the page number
    bool word_wrap = true;
    bool header_only_first_page = true;
};

// One text to draw, at canvas coordinates of its top left corner on its page (counted from 1).
struct PlacedText {
    int page = 1;
    PrintFont font = PrintFont::body;
    int x = 0;
    int y = 0;
    std::string text;
    friend bool operator==(const PlacedText&, const PlacedText&) = default;
};

struct PageLayout {
    int page_count = 1;
    std::vector<PlacedText> texts; // in drawing order, pages ascending
};

// Both passes. Whatever the sizes, every page takes at least one body line and every wrapped piece
// at least one character, so the layout always ends.
PageLayout layout_pages(const PrintDocument& document, const PageMetrics& page, const MarginsMm& margins,
                        const TextMeasurer& measurer);

} // namespace tkv
