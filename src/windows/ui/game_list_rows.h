#pragma once
// The displayed list's rows as the list box shows them, converted once per rebuild so painting
// and scrolling take the texts as they are.

#include <QStringList>
#include <functional>
#include <vector>

#include "database/game_types.h"
#include "shell/codepage.h"

namespace tkv {

// progress gets the percentage done each time it changes (row * 100 / count, rounded).
QStringList game_list_rows(const std::vector<GAMELIST2_ARRAY_TYPE>& list, CodePage names_code_page,
                           const std::function<void(int)>& progress = {});

} // namespace tkv
