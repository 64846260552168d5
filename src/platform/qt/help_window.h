#pragma once
// F1 help: every window passes its key presses with its own topic number.

#include <string>

class QWidget;

namespace tkv {

// On F1 (Qt::Key_F1) shows the HTML help file help_path at its anchor "topic-<help_context>" in
// the one help window, which stays open beside the program's windows; hidden, it opens centred
// over parent. Escape and Ctrl+W close it. A help file named "x.hlp" is read as "x.html". Other
// keys do nothing.
void checkhelp(int key, int help_context, const std::string& help_path, QWidget* parent);

} // namespace tkv
