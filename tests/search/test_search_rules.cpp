#include "search/entry_pack.h"
#include "search/query.h"
#include "search/spelling.h"
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

TEST(SearchRules, QueriesReadAsTypedTheLastWordAsABeginning) {
    const Xapian::Stem english("english");
    // Each part as "word", "partial", "prefix*", "\"phrase\"", with "-" when excluded and "|" when
    // joined to the one before with OR.
    const auto parts = [&](std::string_view typed) {
        std::string out;
        for (const QueryItem& item : parse_query(typed, english).items) {
            std::string words;
            for (const std::string& w : item.words)
                words += (words.empty() ? "" : " ") + w;
            out += std::string(out.empty() ? "" : " ") + (item.or_previous ? "|" : "") + (item.excluded ? "-" : "");
            switch (item.kind) {
            case QueryItem::Kind::word: out += words; break;
            case QueryItem::Kind::partial: out += words + "~"; break;
            case QueryItem::Kind::prefix: out += words + "*"; break;
            case QueryItem::Kind::phrase: out += "\"" + words + "\""; break;
            }
        }
        return out;
    };
    const struct {
        const char* typed;
        const char* parts;
    } cases[] = {
        {"pepp", "pepp~"},                       // still being typed
        {"pepp ", "pepp"},                       // finished
        {"Water TEM", "water tem~"},             // folded, as the index is
        {"go", "go"},                            // too short to be taken as a beginning
        {"\"water temple\"", "\"water temple\""}, // a quoted word is whole
        {"\"water temp", "\"water temp\""},       // also when the quote is left open
        {"temp* -sonic", "temp* -sonic~"},
        {"zelda NOT link OR mario", "zelda -link |mario~"},
        {"Pok\xC3\xA9mon AND  and", "pokemon and~"},
        {"half-life", "half life~"},
        {"zelda zelda", "zelda zelda~"},
        {"AND OR NOT ( ) * \"\"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parts(c.typed), c.parts) << c.typed;

    // The partial word finds its stem's words and every word it begins; excluded parts never.
    const auto siblings = [](const std::string& w) {
        return w == "jumping" ? std::vector<std::string>{"jump", "jumps"} : std::vector<std::string>{};
    };
    EXPECT_EQ(match_expression(parse_query("temple -sonic jumping", english), true, siblings),
              "((\"temple\") AND ((\"jumping\" OR \"jump\" OR \"jumps\" OR \"jumping\"*))) NOT (\"sonic\")");
    EXPECT_EQ(match_expression(parse_query("a OR b c ", english), false, {}), "(\"a\" OR \"b\") OR (\"c\")");
    EXPECT_EQ(match_expression(parse_query("-sonic", english), true, {}), "");
    const QueryTerms terms = parse_query("\"Water\" jump pepp", english).terms;
    EXPECT_EQ(terms.exact, std::set<std::string>{"water"});
    EXPECT_EQ(terms.stems, (std::set<std::string>{"jump", "pepp"}));
    EXPECT_EQ(terms.prefixes, std::set<std::string>{"pepp"});
}

TEST(SearchRules, SpellingOffersCloseWordsNeverShorterOnes) {
    const struct {
        const char32_t* a;
        const char32_t* b;
        std::size_t distance;
    } distances[] = {{U"temple", U"temple", 0}, {U"tmeple", U"temple", 1}, {U"templ", U"temple", 1},
                     {U"tampel", U"temple", 2}, {U"lighthuose", U"lighthouse", 1}, {U"abc", U"xyzabc", 3}};
    for (const auto& d : distances)
        EXPECT_EQ(edit_distance(d.a, d.b, 2), d.distance) << std::u32string_view(d.a).size();
    const std::vector<IndexWord> words = {{"per", 900}, {"pepper", 3}, {"peppers", 40}, {"lighthouse", 1}};
    EXPECT_EQ(best_correction("pepp", words), "");       // "per" is shorter, "pepper" two letters away
    EXPECT_EQ(best_correction("peppar", words), "pepper");
    EXPECT_EQ(best_correction("pepperx", words), "peppers"); // one edit either way: the commoner word
    EXPECT_EQ(best_correction("lighthuose", words), "lighthouse");
    EXPECT_EQ(corrected_query("zelda lighthuose \"x\"", {{"lighthuose", "lighthouse"}}),
              "zelda lighthouse \"x\"");
}

TEST(SearchRules, PackedTextsComeBackAndDamageIsNoticed) {
    const std::vector<SearchEntry> entries = {
        {EntryKind::names, 0, "", "Zelda\n"},
        {EntryKind::info, 3, "Cheat codes", std::string(5000, 'x') + "\xC3\xA9"},
        {EntryKind::user_text, 0, "", "My note"}};
    const std::string packed = pack_entries(entries);
    const auto back = unpack_entries(packed);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ((*back)[i].kind, entries[i].kind);
        EXPECT_EQ((*back)[i].entry, entries[i].entry);
        EXPECT_EQ((*back)[i].category, entries[i].category);
        EXPECT_EQ((*back)[i].text, entries[i].text);
    }
    EXPECT_LT(packed.size(), 200u);
    for (const std::string& damaged : {std::string(), packed.substr(0, packed.size() / 2),
                                       std::string("\xFF\xFF\xFF\x7F") + packed.substr(4), std::string(64, 'Z')})
        EXPECT_FALSE(unpack_entries(damaged).has_value());
}

} // namespace
} // namespace tkv
