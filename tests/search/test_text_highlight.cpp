#include "search/snippet.h"
#include "search/text_highlight.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

using Typed = TextHighlighter::Typed;

// The text with its marked words in brackets, as a snippet shows them.
std::string marked(std::string_view text, const std::vector<TextRange>& ranges) {
    std::string out;
    std::size_t at = 0;
    for (const TextRange& r : ranges) {
        (out += text.substr(at, r.begin - at)) += '[';
        (out += text.substr(r.begin, r.end - r.begin)) += ']';
        at = r.end;
    }
    return out += text.substr(at);
}

TEST(TextHighlight, MarksTheWordsOfTheTypedText) {
    const struct {
        const char* language;
        Typed how;
        const char* typed;
        const char* text;
        const char* expected;
    } cases[] = {
        {"English", Typed::full_text_query, "jumping", "He jumps, jumped; a jumper.",
         "He [jumps], [jumped]; a jumper."},
        {"English", Typed::full_text_query, "temp*", "Temple, temporal, attempt",
         "[Temple], [temporal], attempt"},
        {"English", Typed::full_text_query, "zelda AND link", "Zelda and Link", "[Zelda] and [Link]"},
        {"English", Typed::full_text_query, "\"water temple\"", "The Water Temple", "The [Water] [Temple]"},
        {"English", Typed::full_text_query, "pokemon", "Pok\xC3\xA9mon, POKEMON!",
         "[Pok\xC3\xA9mon], [POKEMON]!"},
        // Latin-1 bytes in a text are read as their characters, accents folded.
        {"English", Typed::full_text_query, "caf\xC3\xA9 ", "caf\xE9 caf\xC3\xA9 cafes\xFF",
         "[caf\xE9] [caf\xC3\xA9] cafes\xFF"},
        {"Czech", Typed::full_text_query, "hrad ", "Hradec, hrady, HRAD", "Hradec, hrady, [HRAD]"},
        // The last word, with nothing after it, is still being typed: the words it begins count.
        {"Czech", Typed::full_text_query, "hrad", "Hradec, hrady, HRAD", "[Hradec], [hrady], [HRAD]"},
        {"English", Typed::full_text_query, "", "anything", "anything"},
        {"English", Typed::full_text_query, " ,;* ", "anything", "anything"},
        {"English", Typed::as_you_type, "temp", "The Temple of attempts", "The [Temple] of attempts"},
        {"English", Typed::as_you_type, "CAF\xC3\x89 te", "Le caf\xC3\xA9 est temps",
         "Le [caf\xC3\xA9] est [temps]"},
        {"English", Typed::as_you_type, "jumping", "jumps jumpingly jump", "[jumps] [jumpingly] [jump]"},
        {"Czech", Typed::as_you_type, "hrad", "Hradec, hrady, ohrada", "[Hradec], [hrady], ohrada"},
        {"English", Typed::as_you_type, "", "anything", "anything"},
    };
    for (const auto& c : cases) {
        const TextHighlighter highlighter(c.language, c.typed, c.how);
        EXPECT_EQ(marked(c.text, highlighter.ranges(c.text)), c.expected) << c.typed;
        EXPECT_EQ(highlighter.empty(), std::string_view(c.expected) == c.text) << c.typed;
    }
}

TEST(TextHighlight, SnippetMarksTheSameWords) {
    const Xapian::Stem english("english");
    const std::string text = "Jumping over the Temple, jumps and temples";
    const TypedQuery parsed = parse_query("jump temple", english);
    const TextHighlighter highlighter("English", "jump temple", Typed::full_text_query);
    EXPECT_EQ(marked(text, highlighter.ranges(text)), make_snippet(text, parsed.terms, english));
}

TEST(TextHighlight, ByteRangesBecomeUtf16Positions) {
    // U+1F600 takes four bytes and two UTF-16 units, é two bytes and one unit, a stray byte one.
    const std::string text = "\xF0\x9F\x98\x80 x\xC3\xA9y \xE9z";
    const std::vector<TextRange> bytes = {{0, 4}, {5, 9}, {10, 12}};
    EXPECT_EQ(utf16_ranges(text, bytes), (std::vector<TextRange>{{0, 2}, {3, 6}, {7, 9}}));
    EXPECT_EQ(utf16_ranges(text, std::vector<TextRange>{{12, 12}}), (std::vector<TextRange>{{9, 9}}));
    EXPECT_TRUE(utf16_ranges(text, {}).empty());
}

} // namespace
} // namespace tkv
