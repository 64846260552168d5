#include "appearance/ui/caption_text.h"

#include "platform/qt/qt_text.h"

namespace tkv {

QString caption_text(const ProgramContext& context, int slot, std::initializer_list<std::string_view> utf8_values) {
    return qt_utf8(caption_utf8(context.CAPTIONS, context.language.code_page, slot, utf8_values));
}

} // namespace tkv
