#pragma once
// Message boxes with the program's captions: the four titles (caption_slot::message_title_first to
// message_title_last), texts from the caption table in its language's code page and values in their own
// code pages, all shown as UTF-8.

#include <initializer_list>
#include <string>
#include <string_view>

#include "appearance/captions.h"
#include "platform/dialogs.h"
#include "shell/codepage.h"

namespace tkv {

class Messages {
  public:
    Messages(Dialogs& dialogs, const Captions& captions, CodePage caption_code_page)
        : dialogs_(dialogs), captions_(captions), cp_(caption_code_page) {}

    // A caption in UTF-8 with UTF-8 values filled in for %1..%5.
    std::string text(int slot, std::initializer_list<std::string_view> utf8_values = {}) const;

    void error(const std::string& utf8_text) const;       // titled caption_slot::error_title, OK
    void information(const std::string& utf8_text) const; // titled caption_slot::information_title, OK
    MessageAnswer ask(const std::string& utf8_text, int title_slot, MessageIcon icon, MessageButtons buttons,
                      std::optional<MessageAnswer> default_answer = std::nullopt) const;

    Dialogs& dialogs() const { return dialogs_; }
    const Captions& captions() const { return captions_; }

  private:
    Dialogs& dialogs_;
    const Captions& captions_;
    CodePage cp_;
};

} // namespace tkv
