#pragma once
// The real dialogs of the desktop behind the Dialogs interface. Each opens over the active
// window and returns when the user has answered.

#include "platform/dialogs.h"

namespace tkv {

class QtDialogs : public Dialogs {
  public:
    MessageAnswer message(const MessageRequest& request) override;
    std::optional<FileDialogResult> open_file(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> save_file(const FileDialogRequest& request) override;
    std::optional<std::string> choose_folder(const std::string& title, const std::string& start) override;
    std::optional<FontChoice> choose_font(const std::string& title, const FontChoice& initial) override;
};

} // namespace tkv
