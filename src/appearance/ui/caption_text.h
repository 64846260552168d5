#pragma once
// Captions as controls and titles show them.

#include <QString>
#include <initializer_list>
#include <string_view>
#include <utility>

#include "context/program_context.h"

class QWidget;

namespace tkv {

// The slot's text in the program's language, with UTF-8 values filled in for %1..%5.
QString caption_text(const ProgramContext& context, int slot,
                     std::initializer_list<std::string_view> utf8_values = {});

// The names a screen reader gives controls that neither show a caption nor have a label: each
// control with its slot.
void set_accessible_names(const ProgramContext& context,
                          std::initializer_list<std::pair<QWidget*, int>> names);

} // namespace tkv
