#include "options/ui/by_text_combo.h"

#include "options/ui/option_panel.h"
#include "options/option_rules.h"
#include "platform/qt/qt_text.h"

namespace tkv {

namespace {

std::vector<std::string> texts_of(const QComboBox& combo) {
    std::vector<std::string> texts;
    for (int i = 0; i < combo.count(); ++i)
        texts.push_back(utf8_of(combo.itemText(i)));
    return texts;
}

} // namespace

ByTextCombo::ByTextCombo(const char* name, QRect geometry, QWidget* parent) : QComboBox(parent) {
    setObjectName(name);
    setGeometry(geometry);
}

bool ByTextCombo::select_text(std::string_view text, int fallback) {
    const int index = select_by_text(texts_of(*this), text, -1);
    const int chosen = index >= 0 ? index : fallback < count() ? fallback : -1;
    kept_ = chosen < 0 ? std::string(text) : std::string();
    setPlaceholderText(qt_utf8(kept_));
    setCurrentIndex(chosen);
    return index >= 0;
}

bool ByTextCombo::refill(const std::vector<std::string>& items, int fallback) {
    const std::string previous = value();
    clear();
    addItems(utf8_items(items));
    return select_text(previous, fallback);
}

std::string ByTextCombo::value() const {
    return currentIndex() >= 0 ? utf8_of(currentText()) : kept_;
}

} // namespace tkv
