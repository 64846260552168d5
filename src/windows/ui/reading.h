#pragma once
// Reading a game's information: the keys that change the text size and switch the tabs, the text
// area's width for a number of columns, and the web addresses of a text that can be clicked.

#include <QFont>
#include <QPoint>
#include <optional>
#include <string>

class QPlainTextEdit;

namespace tkv {

enum class ReadingKey { none, larger, smaller, normal_size, next_tab, previous_tab };

// Ctrl+plus (or Ctrl+=, the same key unshifted), Ctrl+minus and Ctrl+0 for the text size;
// Ctrl+Tab, Ctrl+Shift+Tab, Ctrl+PageDown and Ctrl+PageUp for the tabs.
ReadingKey reading_key(int key, Qt::KeyboardModifiers modifiers);

// The information font with offset points added, never below 6 points.
QFont offset_font(QFont font, int offset);

// How wide the lines of a memo of this width are: without its vertical scroll bar, the text's
// margins and the cursor.
int memo_line_width(const QPlainTextEdit* memo, int width);

// Underlines the web addresses of the memo's text (its text, not its look: set after each text).
void mark_web_addresses(QPlainTextEdit* memo);
// The address to open at a point of the memo's viewport, if one is written there.
std::optional<std::string> web_address_at(const QPlainTextEdit* memo, QPoint point);

} // namespace tkv
