#pragma once
// Opening a web or mail address the way the internet options say: copied to the clipboard,
// handed to the desktop, or written in the program's own mail window.

#include <QPoint>
#include <functional>
#include <string>

namespace tkv {

struct ProgramContext;
class Dialogs;

void open_web_address(const ProgramContext& context, const std::string& address);

// The windows a mail may need when the program writes it itself; unset ones are not there yet and
// the desktop's mail program takes over.
struct MailWindows {
    std::function<void()> first_settings; // the first-run settings in their normal mode
    std::function<void(const std::string& address, const std::string& name, QPoint centre)> send_mail;
};

// address and name in UTF-8; "mailto:" is put in front when missing.
void open_mail_address(ProgramContext& context, Dialogs& dialogs, const std::string& address,
                       const std::string& name, QPoint centre, const MailWindows& windows = {});

// The address with "mailto:" in front unless it starts with it (letter case ignored).
std::string mailto_address(const std::string& address);

} // namespace tkv
