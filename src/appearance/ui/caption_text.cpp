#include "appearance/ui/caption_text.h"

#include "platform/qt/qt_text.h"

#include <QWidget>

namespace tkv {

QString caption_text(const ProgramContext& context, int slot,
                     std::initializer_list<std::string_view> utf8_values) {
    return qt_utf8(caption_utf8(context.CAPTIONS, context.language.code_page, slot, utf8_values));
}

void set_accessible_names(const ProgramContext& context,
                          std::initializer_list<std::pair<QWidget*, int>> names) {
    for (const auto& [control, slot] : names)
        control->setAccessibleName(caption_text(context, slot));
}

} // namespace tkv
