#pragma once
// Base64 (RFC 2045) without line breaks: proxy credentials and mail attachments.

#include <string>
#include <string_view>

namespace tkv {

std::string base64_encode(std::string_view bytes);

} // namespace tkv
