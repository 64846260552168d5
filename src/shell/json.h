#pragma once
// A small JSON reader and the quoting of its writer, for the files the program exchanges with
// other programs. The reader takes only valid UTF-8, nests at most json_depth_max deep and never
// throws: a fault gives a message with its line and column.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

constexpr int json_depth_max = 32;

struct JsonMember;

struct JsonValue {
    enum class Kind { null, boolean, number, string, array, object };
    Kind kind = Kind::null;
    bool boolean = false;
    double number = 0;
    std::string text; // a string, as UTF-8
    std::vector<JsonValue> items;
    std::vector<JsonMember> members; // in the file's order

    // The first member named key of an object; null for other kinds and missing keys.
    const JsonValue* member(std::string_view key) const;
    // A whole number within the int32 range.
    std::optional<std::int32_t> int32() const;
};

struct JsonMember {
    std::string name;
    JsonValue value;
};

struct JsonParse {
    std::optional<JsonValue> value;
    std::string error; // "line 3, column 7: ..." when value is empty
};

// One value and nothing but white space after it.
JsonParse json_parse(std::string_view text);

// s (UTF-8) as a JSON string with its quotes; control characters, '"' and '\' escaped.
std::string json_quote(std::string_view s);

} // namespace tkv
