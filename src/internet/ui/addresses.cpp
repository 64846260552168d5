#include "internet/ui/addresses.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "shell/text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tkv {

namespace {

bool mail_settings_complete(const OPTIONS_TYPE& o) {
    return !o.smtp_server.empty() && !o.smtp_port.empty() && !o.user_name.empty() && !o.user_email.empty();
}

} // namespace

std::string mailto_address(const std::string& address) {
    return lower_text(address).starts_with("mailto:") ? address : "mailto:" + address;
}

void open_web_address(const ProgramContext& c, const std::string& address) {
    if (c.options.copy_url_on_click) QGuiApplication::clipboard()->setText(qt_utf8(address));
    if (c.options.open_url_on_click) open_address(address);
}

void open_mail_address(ProgramContext& c, Dialogs& dialogs, const std::string& address, const std::string& name,
                       QPoint centre, const MailWindows& windows) {
    const std::string mailto = mailto_address(address);
    if (c.options.copy_url_on_click) QGuiApplication::clipboard()->setText(qt_utf8(mailto));
    if (!c.options.open_url_on_click) return;
    if (!c.options.internal_mail || !windows.send_mail) {
        open_address(mailto);
        return;
    }
    if (!mail_settings_complete(c.options)) {
        const Messages m = messages_of(c, dialogs);
        if (m.ask(m.text(caption_slot::mail_no_smtp_server_warning), caption_slot::attention_title,
                  MessageIcon::warning, MessageButtons::ok_cancel) != MessageAnswer::ok)
            return;
        if (windows.first_settings) windows.first_settings();
        if (!c.options.internal_mail) open_address(mailto);
    }
    if (c.options.internal_mail && mail_settings_complete(c.options))
        windows.send_mail(mailto.substr(7), name, centre);
}

} // namespace tkv
