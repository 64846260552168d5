#pragma once
// Captions as controls and titles show them.

#include <QString>
#include <initializer_list>
#include <string_view>

#include "context/program_context.h"

namespace tkv {

// The slot's text in the program's language, with UTF-8 values filled in for %1..%5.
QString caption_text(const ProgramContext& context, int slot, std::initializer_list<std::string_view> utf8_values = {});

} // namespace tkv
