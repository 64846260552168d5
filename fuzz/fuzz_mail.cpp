// A saved e-mail: the reader refuses it with a message or gives attachments whose names are safe
// to save under: no control characters, no folder parts.
#include "fuzz/fuzz_support.h"
#include "internet/mail_reading.h"

#include <algorithm>

using namespace tkv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MailRead read = read_mail(fuzz::bytes_of(data, size));
    TKV_FUZZ_CHECK(read.mail.has_value() != !read.error.empty());
    if (!read.mail) return 0;
    const auto control = [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; };
    TKV_FUZZ_CHECK(std::none_of(read.mail->from.begin(), read.mail->from.end(), control));
    TKV_FUZZ_CHECK(read.mail->attachments.size() <= mail_parts_max + 1);
    for (const MailAttachment& a : read.mail->attachments) {
        TKV_FUZZ_CHECK(!a.file_name.empty() && a.file_name != "." && a.file_name != "..");
        TKV_FUZZ_CHECK(std::none_of(a.file_name.begin(), a.file_name.end(), control));
        TKV_FUZZ_CHECK(a.file_name.find_first_of("/\\") == std::string::npos);
        TKV_FUZZ_CHECK(a.bytes.size() <= size);
    }
    return 0;
}
