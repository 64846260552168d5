#pragma once
// Every question the program asks: message boxes and the file, folder and font dialogs. Windows
// and tasks ask through this interface; the Qt implementation shows real dialogs and the tests'
// scripted one answers from a queue. Texts are UTF-8, ready to show.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tkv {

enum class MessageIcon { none, error, warning, question, information };
enum class MessageButtons { ok, ok_cancel, yes_no, abort_retry_ignore };
enum class MessageAnswer { ok, cancel, yes, no, abort, retry, ignore };

struct MessageRequest {
    std::string title;
    std::string text;
    MessageIcon icon = MessageIcon::none;
    MessageButtons buttons = MessageButtons::ok;
    // The answer of the default button; empty: the toolkit's usual default (the first button).
    std::optional<MessageAnswer> default_answer;
};

struct FileFilter {
    std::string label;   // "DAT file (*.dat)"
    std::string pattern; // "*.dat", several separated by ";"
};

struct FileDialogRequest {
    std::string title;
    std::string folder;    // where the dialog starts; empty: the toolkit's choice
    std::string file_name; // proposed name (save) or preselected file (open)
    std::vector<FileFilter> filters;
    int filter_index = 1;          // preselected filter, counted from 1
    std::string default_extension; // added to a typed name without one (save)
    bool confirm_overwrite = true; // save: ask before replacing an existing file
    // Save: per filter, in the filters' order, the extension added while that filter is chosen;
    // a missing or empty one falls back to default_extension.
    std::vector<std::string> filter_extensions;
};

struct FileDialogResult {
    std::string path;
    int filter_index = 1; // the filter chosen, counted from 1
};

struct FontChoice {
    std::string family;
    int size = 10; // points
    int style = 0; // 1 bold, 2 italic, 4 underline
    bool fixed_pitch_only = false;
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;
    virtual MessageAnswer message(const MessageRequest& request) = 0;
    virtual std::optional<FileDialogResult> open_file(const FileDialogRequest& request) = 0;
    virtual std::optional<FileDialogResult> save_file(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> choose_folder(const std::string& title, const std::string& start) = 0;
    virtual std::optional<FontChoice> choose_font(const std::string& title, const FontChoice& initial) = 0;
};

} // namespace tkv
