#include "shell/json.h"

#include <cmath>
#include <cstdlib>

namespace tkv {

namespace {

class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    JsonParse run() {
        JsonParse out;
        JsonValue v;
        skip_space();
        if (value(v, 0)) {
            skip_space();
            if (pos_ == s_.size()) {
                out.value = std::move(v);
                return out;
            }
            fail("text follows the end of the data");
        }
        out.error = error_;
        return out;
    }

  private:
    std::string_view s_;
    std::size_t pos_ = 0;
    std::string error_;

    bool fail(const std::string& what) {
        if (!error_.empty()) return false;
        std::size_t line = 1, column = 1;
        for (std::size_t i = 0; i < pos_ && i < s_.size(); ++i) {
            if (s_[i] == '\n') {
                ++line;
                column = 1;
            } else if ((static_cast<unsigned char>(s_[i]) & 0xC0) != 0x80) {
                ++column;
            }
        }
        error_ = "line " + std::to_string(line) + ", column " + std::to_string(column) + ": " + what;
        return false;
    }

    bool at_end() const { return pos_ >= s_.size(); }
    char peek() const { return at_end() ? '\0' : s_[pos_]; }

    void skip_space() {
        while (!at_end() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
    }

    bool literal(std::string_view word) {
        if (s_.substr(pos_, word.size()) != word) return fail("unknown word");
        pos_ += word.size();
        return true;
    }

    bool value(JsonValue& v, int depth) {
        if (at_end()) return fail("the data ends too early");
        switch (peek()) {
        case '{': return object(v, depth + 1);
        case '[': return array(v, depth + 1);
        case '"': v.kind = JsonValue::Kind::string; return string(v.text);
        case 't': v.kind = JsonValue::Kind::boolean; v.boolean = true; return literal("true");
        case 'f': v.kind = JsonValue::Kind::boolean; return literal("false");
        case 'n': v.kind = JsonValue::Kind::null; return literal("null");
        default: return number(v);
        }
    }

    bool nested(int depth) { return depth <= json_depth_max || fail("nested too deeply"); }

    bool object(JsonValue& v, int depth) {
        if (!nested(depth)) return false;
        v.kind = JsonValue::Kind::object;
        ++pos_;
        skip_space();
        if (peek() == '}') return ++pos_, true;
        for (;;) {
            skip_space();
            if (peek() != '"') return fail(at_end() ? "the data ends too early" : "a name in quotes is expected");
            std::string key;
            if (!string(key)) return false;
            skip_space();
            if (peek() != ':') return fail(at_end() ? "the data ends too early" : "':' is expected");
            ++pos_;
            skip_space();
            JsonValue member;
            if (!value(member, depth)) return false;
            v.members.push_back({std::move(key), std::move(member)});
            skip_space();
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == '}') return ++pos_, true;
            return fail(at_end() ? "the data ends too early" : "',' or '}' is expected");
        }
    }

    bool array(JsonValue& v, int depth) {
        if (!nested(depth)) return false;
        v.kind = JsonValue::Kind::array;
        ++pos_;
        skip_space();
        if (peek() == ']') return ++pos_, true;
        for (;;) {
            skip_space();
            JsonValue item;
            if (!value(item, depth)) return false;
            v.items.push_back(std::move(item));
            skip_space();
            if (peek() == ',') {
                ++pos_;
                continue;
            }
            if (peek() == ']') return ++pos_, true;
            return fail(at_end() ? "the data ends too early" : "',' or ']' is expected");
        }
    }

    bool number(JsonValue& v) {
        const std::size_t start = pos_;
        if (peek() == '-') ++pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (!at_end() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        if (peek() == '0')
            ++pos_;
        else if (!digits())
            return fail(at_end() ? "the data ends too early" : "a value is expected");
        if (peek() == '.' && (++pos_, !digits())) return fail("a digit is expected");
        if (peek() == 'e' || peek() == 'E') {
            ++pos_;
            if (peek() == '+' || peek() == '-') ++pos_;
            if (!digits()) return fail("a digit is expected");
        }
        v.kind = JsonValue::Kind::number;
        v.number = std::strtod(std::string(s_.substr(start, pos_ - start)).c_str(), nullptr);
        return true;
    }

    static void append_utf8(std::string& out, std::uint32_t c) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }

    bool hex4(std::uint32_t& out) {
        out = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            const char c = peek();
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (d < 0) return fail(at_end() ? "the data ends too early" : "four hex digits are expected");
            out = out * 16 + static_cast<std::uint32_t>(d);
        }
        return true;
    }

    bool escape(std::string& out) {
        const char c = peek();
        ++pos_;
        switch (c) {
        case '"': out += '"'; return true;
        case '\\': out += '\\'; return true;
        case '/': out += '/'; return true;
        case 'b': out += '\b'; return true;
        case 'f': out += '\f'; return true;
        case 'n': out += '\n'; return true;
        case 'r': out += '\r'; return true;
        case 't': out += '\t'; return true;
        case 'u': break;
        default: return --pos_, fail(at_end() ? "the data ends too early" : "unknown escape");
        }
        std::uint32_t code = 0;
        if (!hex4(code)) return false;
        if (code >= 0xDC00 && code <= 0xDFFF) return fail("a lone low surrogate");
        if (code >= 0xD800 && code <= 0xDBFF) {
            std::uint32_t low = 0;
            if (s_.substr(pos_, 2) != "\\u") return fail("a lone high surrogate");
            pos_ += 2;
            if (!hex4(low)) return false;
            if (low < 0xDC00 || low > 0xDFFF) return fail("a lone high surrogate");
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        append_utf8(out, code);
        return true;
    }

    // One UTF-8 character, checked: no overlong forms, surrogates or values past U+10FFFF.
    bool utf8_character(std::string& out) {
        const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s_[pos_ + i]); };
        const unsigned char lead = b(0);
        std::size_t n = 0;
        std::uint32_t c = 0;
        if (lead >= 0xC2 && lead <= 0xDF) n = 2, c = lead & 0x1F;
        else if (lead >= 0xE0 && lead <= 0xEF) n = 3, c = lead & 0x0F;
        else if (lead >= 0xF0 && lead <= 0xF4) n = 4, c = lead & 0x07;
        else return fail("not UTF-8");
        if (pos_ + n > s_.size()) return fail("not UTF-8");
        for (std::size_t i = 1; i < n; ++i) {
            if ((b(i) & 0xC0) != 0x80) return fail("not UTF-8");
            c = (c << 6) | (b(i) & 0x3F);
        }
        if ((n == 3 && c < 0x800) || (n == 4 && (c < 0x10000 || c > 0x10FFFF)) || (c >= 0xD800 && c <= 0xDFFF))
            return fail("not UTF-8");
        out.append(s_.substr(pos_, n));
        pos_ += n;
        return true;
    }

    bool string(std::string& out) {
        ++pos_; // the opening quote
        for (;;) {
            if (at_end()) return fail("the data ends inside a text");
            const unsigned char c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') return ++pos_, true;
            if (c < 0x20) return fail("a control character inside a text");
            if (c == '\\') {
                ++pos_;
                if (!escape(out)) return false;
            } else if (c < 0x80) {
                out += static_cast<char>(c);
                ++pos_;
            } else if (!utf8_character(out)) {
                return false;
            }
        }
    }
};

} // namespace

const JsonValue* JsonValue::member(std::string_view key) const {
    for (const auto& [name, value] : members)
        if (name == key) return &value;
    return nullptr;
}

std::optional<std::int32_t> JsonValue::int32() const {
    if (kind != Kind::number || number != std::floor(number) || number < -2147483648.0 || number > 2147483647.0)
        return std::nullopt;
    return static_cast<std::int32_t>(number);
}

JsonParse json_parse(std::string_view text) {
    return Parser(text).run();
}

std::string json_quote(std::string_view s) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xF];
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

} // namespace tkv
