#pragma once
// Base64 (RFC 2045) without line breaks: proxy credentials and mail attachments.

#include <optional>
#include <string>
#include <string_view>

namespace tkv {

std::string base64_encode(std::string_view bytes);

// The bytes of a Base64 text as mail carries it: line breaks and other white space are skipped,
// and padding may be missing at the very end. Nothing for any other character, data after the
// padding, or a length no encoder writes.
std::optional<std::string> base64_decode(std::string_view text);

} // namespace tkv
