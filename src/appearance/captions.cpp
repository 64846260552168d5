#include "appearance/captions.h"

#include "appearance/caption_defaults.h"
#include "appearance/caption_slots.h"
#include "shell/product.h"

#include <vector>

namespace tkv {

void captions_expand_breaks(Captions& captions, int slot) {
    if (slot < 0 || slot >= caption_slots) return;
    const std::string& in = captions[static_cast<std::size_t>(slot)];
    std::string out;
    out.reserve(in.size());
    std::size_t i = 0;
    while (i + 1 < in.size()) {
        if (in[i] == '%' && in[i + 1] == '%') {
            out += "%%";
            i += 2;
        } else if (in[i] == '%' && (in[i + 1] == 'R' || in[i + 1] == 'r')) {
            out += "\r\n";
            i += 2;
        } else {
            out += in[i++];
        }
    }
    out.append(in, i, std::string::npos);
    captions[static_cast<std::size_t>(slot)] = std::move(out);
}

void captions_finish(Captions& captions) {
    for (int slot = 1; slot <= 999; ++slot)
        captions_expand_breaks(captions, slot);
    for (int slot = caption_slot::message_title_first; slot <= caption_slot::message_title_last; ++slot) {
        auto& text = captions[static_cast<std::size_t>(slot)];
        text = caption_format(text, {product_name});
    }
}

std::string caption_placeholder(int slot) {
    return "CAPTIONS[" + std::to_string(slot) + "]";
}

void captions_reset(Captions& captions) {
    for (int slot = 0; slot <= 999; ++slot)
        captions[static_cast<std::size_t>(slot)] = caption_placeholder(slot);
    captions[1000].clear();
    for (int slot = 1; slot <= 999; ++slot)
        if (const char* text = caption_default_text(slot)) captions[static_cast<std::size_t>(slot)] = text;
    captions_finish(captions);
}

std::string caption_format(std::string_view text, std::initializer_list<std::string_view> values) {
    const std::vector<std::string_view> given(values);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i + 1 < text.size()) {
        const char next = text[i + 1];
        if (text[i] == '%' && next == '%') {
            out += '%';
            i += 2;
        } else if (text[i] == '%' && next >= '1' && next <= '5') {
            const auto index = static_cast<std::size_t>(next - '1');
            if (index < given.size()) out += given[index];
            i += 2;
        } else {
            out += text[i++];
        }
    }
    out.append(text.substr(i));
    return out;
}

std::string without_alt_s(std::string_view caption) {
    std::string out;
    out.reserve(caption.size());
    for (std::size_t i = 0; i < caption.size(); ++i)
        if (!(caption[i] == '&' && i + 1 < caption.size() && (caption[i + 1] == 's' || caption[i + 1] == 'S')))
            out += caption[i];
    return out;
}

std::string caption_utf8(const Captions& captions, CodePage cp, int slot,
                         std::initializer_list<std::string_view> utf8_values) {
    if (slot < 0 || slot >= caption_slots) return {};
    return caption_format(to_utf8(captions[static_cast<std::size_t>(slot)], cp), utf8_values);
}

} // namespace tkv
