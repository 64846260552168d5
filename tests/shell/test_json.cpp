#include "shell/json.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

TEST(Json, ReadsValuesAndEscapes) {
    const JsonParse p = json_parse(
        " {\"a\": [1, -2.5e1, true, false, null, 2.5], \"b\": \"x\\\"\\\\\\/\\n\\u00e9\\ud83d\\ude00\xC5\x82\", \"a\": 3} ");
    ASSERT_TRUE(p.value) << p.error;
    const JsonValue* a = p.value->member("a");
    ASSERT_TRUE(a && a->kind == JsonValue::Kind::array && a->items.size() == 6);
    EXPECT_EQ(a->items[0].int32(), 1);
    EXPECT_EQ(a->items[1].number, -25);
    EXPECT_EQ(a->items[1].int32(), -25);
    EXPECT_FALSE(a->items[5].int32());
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_EQ(a->items[4].kind, JsonValue::Kind::null);
    EXPECT_EQ(p.value->member("b")->text, "x\"\\/\n\xC3\xA9\xF0\x9F\x98\x80\xC5\x82");
    EXPECT_FALSE(p.value->member("c"));
}

TEST(Json, RefusesBrokenTextWithItsPlace) {
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "line 1, column 1: the data ends too early"},
        {"{\"a\": [1, 2", "line 1, column 12: the data ends too early"},
        {"{\"a\":\n \"b", "line 2, column 4: the data ends inside a text"},
        {"[1 2]", "line 1, column 4: ',' or ']' is expected"},
        {"{a: 1}", "line 1, column 2: a name in quotes is expected"},
        {"[01]", "line 1, column 3: ',' or ']' is expected"},
        {"[tru]", "line 1, column 2: unknown word"},
        {"\"a\tb\"", "line 1, column 3: a control character inside a text"},
        {"\"\\x\"", "line 1, column 3: unknown escape"},
        {"\"\\ud800\"", "line 1, column 8: a lone high surrogate"},
        {"\"\xC0\xAF\"", "line 1, column 2: not UTF-8"},
        {"\"\xED\xA0\x80\"", "line 1, column 2: not UTF-8"},
        {"\"\xE2\x82\"", "line 1, column 2: not UTF-8"},
        {"{} x", "line 1, column 4: text follows the end of the data"},
        {std::string(33, '[') + std::string(33, ']'), "line 1, column 33: nested too deeply"},
    };
    for (const auto& c : cases) {
        const JsonParse p = json_parse(c.text);
        EXPECT_FALSE(p.value) << c.text;
        EXPECT_EQ(p.error, c.error) << c.text;
    }
    EXPECT_TRUE(json_parse(std::string(32, '[') + std::string(32, ']')).value);
}

TEST(Json, QuotedTextsReadBack) {
    const std::string text = std::string("a\"b\\c\r\n\t\x01\x1F\x7F ") + "\xC5\x82";
    EXPECT_EQ(json_quote("\x01"), "\"\\u0001\"");
    const JsonParse p = json_parse(json_quote(text));
    ASSERT_TRUE(p.value) << p.error;
    EXPECT_EQ(p.value->text, text);
}

} // namespace
} // namespace tkv
