#include "appearance/messages.h"

#include "appearance/caption_slots.h"

namespace tkv {

std::string Messages::text(int slot, std::initializer_list<std::string_view> utf8_values) const {
    return caption_utf8(captions_, cp_, slot, utf8_values);
}

MessageAnswer Messages::ask(const std::string& utf8_text, int title_slot, MessageIcon icon,
                            MessageButtons buttons, std::optional<MessageAnswer> default_answer) const {
    return dialogs_.message({text(title_slot), utf8_text, icon, buttons, default_answer});
}

void Messages::error(const std::string& utf8_text) const {
    ask(utf8_text, caption_slot::error_title, MessageIcon::error, MessageButtons::ok);
}

void Messages::information(const std::string& utf8_text) const {
    ask(utf8_text, caption_slot::information_title, MessageIcon::information, MessageButtons::ok);
}

} // namespace tkv
