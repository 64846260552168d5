#pragma once
// Web addresses written inside a text: "http://", "https://" and "ftp://" addresses and ones
// starting with "www.", each ending before a space, a control character, a quote or an angle
// bracket. Punctuation that closes the sentence (". , ; : ! ?", quotes, and a closing bracket
// without its opening one inside the address) is not part of it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tkv {

struct WebAddressAt {
    std::size_t begin = 0; // bytes of the text, [begin, end)
    std::size_t end = 0;
    std::string address; // to open: "www." addresses get "http://" in front
    bool operator==(const WebAddressAt&) const = default;
};

// Every web address of a text (ASCII-compatible bytes: UTF-8 or a single-byte code page).
std::vector<WebAddressAt> web_addresses(std::string_view text);

} // namespace tkv
