#include "platform/qt/qt_dialogs.h"

#include "platform/qt/qt_text.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <utility>

namespace tkv {

namespace {

constexpr std::pair<MessageAnswer, QMessageBox::StandardButton> answer_buttons[] = {
    {MessageAnswer::ok, QMessageBox::Ok},         {MessageAnswer::cancel, QMessageBox::Cancel},
    {MessageAnswer::yes, QMessageBox::Yes},       {MessageAnswer::no, QMessageBox::No},
    {MessageAnswer::abort, QMessageBox::Abort},   {MessageAnswer::retry, QMessageBox::Retry},
    {MessageAnswer::ignore, QMessageBox::Ignore},
};

QMessageBox::StandardButton button_of(MessageAnswer answer) {
    for (const auto& [a, b] : answer_buttons)
        if (a == answer) return b;
    return QMessageBox::NoButton;
}

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    MessageAnswer escape; // the answer when the box is closed without a button
};

ButtonSet button_set(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::ok_cancel:
        return {QMessageBox::Ok | QMessageBox::Cancel, MessageAnswer::cancel};
    case MessageButtons::yes_no:
        return {QMessageBox::Yes | QMessageBox::No, MessageAnswer::no};
    case MessageButtons::abort_retry_ignore:
        return {QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore, MessageAnswer::abort};
    case MessageButtons::ok:
        break;
    }
    return {QMessageBox::Ok, MessageAnswer::ok};
}

QMessageBox::Icon icon_of(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::error:
        return QMessageBox::Critical;
    case MessageIcon::warning:
        return QMessageBox::Warning;
    case MessageIcon::question:
        return QMessageBox::Question;
    case MessageIcon::information:
        return QMessageBox::Information;
    case MessageIcon::none:
        break;
    }
    return QMessageBox::NoIcon;
}

// "label (pattern pattern)"; the dialog shows only the label, which often names the patterns
// its own way already.
QStringList name_filters(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const FileFilter& f : filters)
        names << qt_utf8(f.label) + " (" + qt_utf8(f.pattern).replace(';', ' ') + ")";
    return names;
}

// The dialog names the chosen filter in full, or only by its label while it hides the patterns.
int chosen_filter(const FileDialogRequest& request, const QStringList& names, const QString& selected) {
    for (qsizetype i = 0; i < names.size(); ++i)
        if (selected == names[i] || selected == qt_utf8(request.filters[i].label).trimmed())
            return static_cast<int>(i) + 1;
    return request.filter_index;
}

std::optional<FileDialogResult> run_file_dialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(QApplication::activeWindow(), qt_utf8(request.title), qt_utf8(request.folder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirm_overwrite);
    const QStringList names = name_filters(request.filters);
    dialog.setNameFilters(names);
    if (request.filter_index >= 1 && request.filter_index <= names.size())
        dialog.selectNameFilter(names[request.filter_index - 1]);
    // The suffix follows the chosen filter, so the overwrite question names the file that is written.
    const auto suffix_for = [&request](int filter_index) {
        QString suffix = qt_utf8(request.default_extension);
        const auto k = static_cast<std::size_t>(filter_index - 1);
        if (filter_index >= 1 && k < request.filter_extensions.size() && !request.filter_extensions[k].empty())
            suffix = qt_utf8(request.filter_extensions[k]);
        if (suffix.startsWith('.')) suffix.remove(0, 1);
        return suffix;
    };
    dialog.setDefaultSuffix(suffix_for(request.filter_index));
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& selected) {
                         dialog.setDefaultSuffix(suffix_for(chosen_filter(request, names, selected)));
                     });
    if (!request.file_name.empty()) dialog.selectFile(qt_utf8(request.file_name));

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return FileDialogResult{utf8_of(dialog.selectedFiles().first()),
                            chosen_filter(request, names, dialog.selectedNameFilter())};
}

} // namespace

MessageAnswer QtDialogs::message(const MessageRequest& request) {
    const ButtonSet set = button_set(request.buttons);
    QMessageBox box(icon_of(request.icon), qt_utf8(request.title), qt_utf8(request.text), set.buttons,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    if (request.default_answer) box.setDefaultButton(button_of(*request.default_answer));
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const auto& [answer, button] : answer_buttons)
        if (button == clicked && (set.buttons & button)) return answer;
    return set.escape;
}

std::optional<FileDialogResult> QtDialogs::open_file(const FileDialogRequest& request) {
    return run_file_dialog(request, false);
}

std::optional<FileDialogResult> QtDialogs::save_file(const FileDialogRequest& request) {
    return run_file_dialog(request, true);
}

std::optional<std::string> QtDialogs::choose_folder(const std::string& title, const std::string& start) {
    const QString folder =
        QFileDialog::getExistingDirectory(QApplication::activeWindow(), qt_utf8(title), qt_utf8(start));
    if (folder.isEmpty()) return std::nullopt;
    return utf8_of(folder);
}

std::optional<FontChoice> QtDialogs::choose_font(const std::string& title, const FontChoice& initial) {
    QFont font(qt_utf8(initial.family), initial.size);
    font.setBold(initial.style & 1);
    font.setItalic(initial.style & 2);
    font.setUnderline(initial.style & 4);
    QFontDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(qt_utf8(title));
    dialog.setOption(QFontDialog::MonospacedFonts, initial.fixed_pitch_only); // before the font: it filters
    dialog.setCurrentFont(font);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return FontChoice{utf8_of(chosen.family()), chosen.pointSize(),
                      (chosen.bold() ? 1 : 0) | (chosen.italic() ? 2 : 0) | (chosen.underline() ? 4 : 0),
                      initial.fixed_pitch_only};
}

} // namespace tkv
