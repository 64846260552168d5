#pragma once
// A combo box whose value is a text (UTF-8): the first item equal to it in lower case is selected.
// A text that no item holds stays the value, shown greyed, until an item is chosen, so a setting
// this machine's list lacks (a font, a printer, a server, a count) is read back as it was stored.

#include <QComboBox>

#include <string>
#include <string_view>
#include <vector>

namespace tkv {

class ByTextCombo : public QComboBox {
  public:
    ByTextCombo(const char* name, QRect geometry, QWidget* parent);
    // fallback: the item selected when none matches; -1 (or an item that does not exist) keeps the
    // text. True when an item matched.
    bool select_text(std::string_view text, int fallback);
    // The items replaced; the value is selected again among them.
    bool refill(const std::vector<std::string>& items, int fallback);
    std::string value() const;

  private:
    std::string kept_;
};

} // namespace tkv
