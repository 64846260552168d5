#include "internet/web_addresses.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

struct Case {
    const char* text;
    std::vector<std::string> addresses; // the text of each, as written
    std::vector<std::string> opened;    // what each opens, when not the text itself
};

TEST(WebAddresses, FoundInText) {
    const Case cases[] = {
        {"See http://cheats.example/doom.html for more.", {"http://cheats.example/doom.html"}, {}},
        {"HTTPS://A.example/x?y=1&z=2#top", {"HTTPS://A.example/x?y=1&z=2#top"}, {}},
        {"ftp://files.example/patch.zip\r\nnext line", {"ftp://files.example/patch.zip"}, {}},
        {"visit www.example.org.", {"www.example.org"}, {"http://www.example.org"}},
        // sentence punctuation and quotes end it; brackets only when not opened inside
        {"(see http://a.example/), then", {"http://a.example/"}, {}},
        {"http://wiki.example/Doom_(game); ok", {"http://wiki.example/Doom_(game)"}, {}},
        {"\"http://a.example/q\"!", {"http://a.example/q"}, {}},
        {"<http://a.example/>", {"http://a.example/"}, {}},
        {"two: http://a.example and www.b.example", {"http://a.example", "www.b.example"}, {"", "http://www.b.example"}},
        // no address: inside a word, nothing after the start, or no host
        {"awww.example.org xhttp://a.example", {}, {}},
        {"http:// and www. and http://.", {}, {}},
        {"email@www.example.org is no page", {}, {}},
        {"", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = c.text;
        const std::vector<WebAddressAt> found = web_addresses(text);
        ASSERT_EQ(found.size(), c.addresses.size());
        for (std::size_t i = 0; i < found.size(); ++i) {
            EXPECT_EQ(text.substr(found[i].begin, found[i].end - found[i].begin), c.addresses[i]);
            const bool own = c.opened.empty() || c.opened[i].empty();
            EXPECT_EQ(found[i].address, own ? c.addresses[i] : c.opened[i]);
        }
    }
}

TEST(WebAddresses, NonAsciiBytesBelongToTheAddress) {
    const std::string text = "Fan site: http://jeux.example/r\xc3\xa9sum\xc3\xa9 \xe2\x80\x94 in French";
    const auto found = web_addresses(text);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].address, "http://jeux.example/r\xc3\xa9sum\xc3\xa9");
    EXPECT_EQ(found[0].begin, 10u);
}

} // namespace
} // namespace tkv
