#include "search/query.h"
#include "search/snippet.h"
#include "search/stemmer.h"
#include "search/text_fold.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(SearchRules, FoldingDropsAccentsAndCase) {
    const struct {
        std::string in, word, query;
    } cases[] = {
        {"Pok\xC3\xA9mon", "pokemon", "pokemon"},
        {"\xC5\x81\xC3\xB3\x64\xC5\xBA", "lodz", "lodz"},          // Łódź
        {"Stra\xC3\x9F\x65", "strasse", "strasse"},                // Straße
        {"\xC3\x86on \xC5\x92uvre", "aeon oeuvre", "aeon oeuvre"}, // Æon Œuvre
        {"Cafe\xCC\x81", "cafe", "cafe"},                          // a combining acute accent
        {"zelda AND link", "zelda and link", "zelda AND link"},    // operators stay in capitals
        {"NEAR/3 Or", "near/3 or", "NEAR/3 or"},
        {"ab\xFF\xFE", "abyth", "abyth"}, // not UTF-8: read as Latin-1 (ÿ, þ), then folded
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fold_word(c.in), c.word) << c.in;
        EXPECT_EQ(fold_query(c.in), c.query) << c.in;
    }
    EXPECT_EQ(fold_accents("\xC3\x89t\xC3\xA9"), "Ete"); // case kept
}

TEST(SearchRules, StemmerFromTheProfilesLanguage) {
    const struct {
        const char* language;
        const char* stemmer;
    } cases[] = {{"English", "english"},
                 {"Deutsch", "german"},
                 {"German", "german"},
                 {"Magyar", "hungarian"},
                 {"Rom\xC3\xA2n\xC4\x83", "romanian"},
                 {"Fran\xC3\xA7\x61is", "french"},
                 {"Czech", "none"},
                 {"\xC4\x8C\x65\xC5\xA1tina", "none"},
                 {"", "none"}};
    for (const auto& c : cases)
        EXPECT_EQ(stemmer_name(stemmer_for_language(c.language)), c.stemmer) << c.language;
    EXPECT_EQ(stemmer_for_language("English")("jumping"), "jump");
}

TEST(SearchRules, SnippetMarksStemsPrefixesAndAccentedWords) {
    const Xapian::Stem english("english");
    QueryTerms terms;
    terms.stems = {"jump"};
    terms.exact = {"pokemon"};
    terms.prefixes = {"temp"};
    EXPECT_EQ(make_snippet("Jumping\tover the\r\nPok\xC3\xA9mon in the Temple.", terms, english),
              "[Jumping] over the [Pok\xC3\xA9mon] in the [Temple].");
    // A long text is cut around its best part: the one with the most different words.
    const std::string filler(300, 'x');
    const std::string text = "jump " + filler + " a temple and jumps and pokemon " + filler;
    const std::string snippet = make_snippet(text, terms, english, 60);
    EXPECT_EQ(snippet.substr(0, 3), "...");
    EXPECT_NE(snippet.find("[temple] and [jumps] and [pokemon]"), std::string::npos) << snippet;
    EXPECT_EQ(snippet.substr(snippet.size() - 3), "...");
    // No word of the query: the beginning.
    EXPECT_EQ(make_snippet("Nothing\nhere", terms, english), "Nothing here");
    EXPECT_EQ(one_line(std::string("\n a\t\r\n b\0c \x01", 12)), "a b c");
}

} // namespace
} // namespace tkv
