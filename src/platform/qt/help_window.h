#pragma once
// F1 help: every window passes its key presses with its own topic number (shell/manual.h).

#include <string>

class QWidget;

namespace tkv {

// On F1 (Qt::Key_F1) shows the help for topic help_context in the one help window, which stays
// open beside the program's windows; hidden, it opens centred over parent. When a manual folder
// sits beside the help file help_path ("english.html" -> "english/"), its topic's page opens at the
// topic's anchor with the contents and the search beside it; otherwise help_path itself opens at
// the anchor "topic-<help_context>". Escape and Ctrl+W close it. A help file named "x.hlp" is read
// as "x.html". Other keys do nothing.
void checkhelp(int key, int help_context, const std::string& help_path, QWidget* parent);

// For a window without key handling of its own: F1 pressed anywhere in window, and not taken by
// the control in focus, calls checkhelp with the topic. help_path is read when F1 is pressed, so
// it must outlive the window (the program context's language does).
void help_on_f1(QWidget* window, int help_context, const std::string& help_path);

} // namespace tkv
