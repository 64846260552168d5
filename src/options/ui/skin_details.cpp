#include "options/ui/skin_details.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>

namespace tkv {

namespace {

constexpr const char* no_value = "-";

} // namespace

SkinDetails::SkinDetails(ProgramContext& context, Dialogs& dialogs, MailWindows mail, Labels labels, QObject* parent)
    : QObject(parent), context_(context), dialogs_(dialogs), mail_(std::move(mail)), l_(labels) {
    for (QLabel* link : {l_.email, l_.homepage}) {
        set_link_label(link);
        link->installEventFilter(this);
    }
    show(std::nullopt);
}

void SkinDetails::show(const std::optional<Texts>& skin) {
    const CodePage cp = context_.language.code_page;
    const auto text = [&](std::string Texts::*field) { return skin ? qt_text((*skin).*field, cp) : QString(no_value); };
    l_.name->setText(text(&Texts::name));
    if (skin) {
        const Messages m = messages_of(context_, dialogs_);
        const std::string version = to_utf8(skin->version, cp);
        const std::string program = to_utf8(skin->program_version, cp);
        l_.version->setText(
            qt_utf8(program.empty() || program == no_value
                        ? m.text(caption_slot::options_skin_version, {version})
                        : m.text(caption_slot::options_skin_version_for_program, {version, program})));
    } else {
        l_.version->setText(no_value);
    }
    l_.maker->setText(text(&Texts::maker));
    l_.email->setText(text(&Texts::email));
    l_.homepage->setText(text(&Texts::homepage));
    for (QLabel* link : {l_.email, l_.homepage})
        link->setCursor(link->text() == no_value ? Qt::ArrowCursor : Qt::PointingHandCursor);
}

void SkinDetails::emailClick() {
    const QString address = l_.email->text();
    if (address == no_value) return;
    const CodePage cp = context_.language.code_page;
    const Messages m = messages_of(context_, dialogs_);
    context_.current_mail_subject =
        from_utf8(m.text(caption_slot::skin_details_mail_subject, {utf8_of(l_.name->text())}), cp);
    open_mail_address(context_, dialogs_, utf8_of(address), utf8_of(l_.maker->text()),
                      centre_of(l_.email->window()->frameGeometry()), mail_);
}

void SkinDetails::homepageClick() {
    const QString address = l_.homepage->text();
    if (address != no_value) open_web_address(context_, utf8_of(address));
}

bool SkinDetails::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == l_.email) emailClick();
        if (watched == l_.homepage) homepageClick();
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tkv
