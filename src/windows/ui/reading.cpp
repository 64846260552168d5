#include "windows/ui/reading.h"

#include "internet/web_addresses.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace tkv {

namespace {

struct Utf16Address {
    int begin;
    int end;
    std::string address;
};

// The web addresses of one line of text, at UTF-16 positions of the line.
std::vector<Utf16Address> addresses_of(const QString& line) {
    std::vector<Utf16Address> result;
    const QByteArray utf8 = line.toUtf8();
    for (const WebAddressAt& a : web_addresses(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())))) {
        const auto utf16 = [&](std::size_t bytes) {
            return static_cast<int>(QString::fromUtf8(utf8.constData(), static_cast<qsizetype>(bytes)).size());
        };
        result.push_back({utf16(a.begin), utf16(a.end), a.address});
    }
    return result;
}

} // namespace

ReadingKey reading_key(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const bool ctrl = held == Qt::ControlModifier;
    const bool ctrl_shift = held == (Qt::ControlModifier | Qt::ShiftModifier);
    switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return ctrl || ctrl_shift ? ReadingKey::larger : ReadingKey::none;
    case Qt::Key_Minus:
        return ctrl ? ReadingKey::smaller : ReadingKey::none;
    case Qt::Key_0:
        return ctrl ? ReadingKey::normal_size : ReadingKey::none;
    case Qt::Key_Tab:
        return ctrl ? ReadingKey::next_tab : ctrl_shift ? ReadingKey::previous_tab : ReadingKey::none;
    case Qt::Key_Backtab:
        return ctrl || ctrl_shift ? ReadingKey::previous_tab : ReadingKey::none;
    case Qt::Key_PageDown:
        return ctrl ? ReadingKey::next_tab : ReadingKey::none;
    case Qt::Key_PageUp:
        return ctrl ? ReadingKey::previous_tab : ReadingKey::none;
    default:
        return ReadingKey::none;
    }
}

QFont offset_font(QFont font, int offset) {
    font.setPointSize(std::max(6, font.pointSize() + offset));
    return font;
}

int memo_line_width(const QPlainTextEdit* memo, int width) {
    const int scroll_bar = memo->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
                               ? 0
                               : memo->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, memo);
    const int margins = static_cast<int>(std::ceil(2 * memo->document()->documentMargin()));
    return width - 2 * memo->frameWidth() - scroll_bar - margins - memo->cursorWidth();
}

void mark_web_addresses(QPlainTextEdit* memo) {
    QTextCharFormat link;
    link.setFontUnderline(true);
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next())
        for (const Utf16Address& a : addresses_of(block.text())) {
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + a.begin);
            cursor.setPosition(block.position() + a.end, QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(link);
        }
}

std::optional<std::string> web_address_at(const QPlainTextEdit* memo, QPoint point) {
    // The nearest cursor position is on one side of the letter under the point: find that letter.
    const QTextCursor nearest = memo->cursorForPosition(point);
    const QTextBlock block = nearest.block();
    const auto rect_at = [&](int position) {
        QTextCursor c(nearest);
        c.setPosition(position);
        return memo->cursorRect(c);
    };
    const int end = block.position() + block.length() - 1; // before the paragraph's end
    for (const int letter : {nearest.position() - 1, nearest.position()}) {
        if (letter < block.position() || letter >= end) continue;
        const QRect from = rect_at(letter), to = rect_at(letter + 1);
        if (from.top() != to.top() || point.y() < from.top() || point.y() > from.bottom() ||
            point.x() < from.left() || point.x() >= to.left())
            continue;
        const int at = letter - block.position();
        for (const Utf16Address& a : addresses_of(block.text()))
            if (at >= a.begin && at < a.end) return a.address;
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace tkv
