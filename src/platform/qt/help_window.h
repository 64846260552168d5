#pragma once
// F1 help: every window passes its key presses with its own topic from the topic table
// (shell/manual.h), so every topic asked for has its page.

#include "shell/manual.h"

#include <QString>

#include <functional>
#include <string>

class QWidget;

namespace tkv {

// On F1 (Qt::Key_F1) shows the help for topic help_context in the one help window, which stays
// open beside the program's windows; hidden, it opens centred over parent. When a manual folder
// sits beside the help file help_path ("english.html" -> "english/"), its topic's page opens at the
// topic's anchor with the contents and the search beside it; otherwise help_path itself opens at
// the anchor "topic-<help_context>". Escape and Ctrl+W close it. A help file named "x.hlp" is read
// as "x.html". Other keys do nothing.
void checkhelp(int key, help::Topic help_context, const std::string& help_path, QWidget* parent);

// The help window's own texts in the program's language; not_available holds %1 for the file, and
// an empty title names the product.
struct HelpTexts {
    QString title, back = "&Back", forward = "&Forward", search = "&Search:",
            search_hint = "words on the page", contents = "Contents", results = "Pages found", page = "Page",
            not_available = "Help is not available.\n\n%1 cannot be read.";
};
// Where the texts come from, asked each time the help opens, so a language chosen meanwhile shows
// at once. Until it is set the English texts above are used.
void set_help_texts(std::function<HelpTexts()> texts);

// For a window without key handling of its own: F1 pressed anywhere in window, and not taken by
// the control in focus, calls checkhelp with the topic. help_path is read when F1 is pressed, so
// it must outlive the window (the program context's language does).
void help_on_f1(QWidget* window, help::Topic help_context, const std::string& help_path);

} // namespace tkv
