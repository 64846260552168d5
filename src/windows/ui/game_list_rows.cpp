#include "windows/ui/game_list_rows.h"

#include "platform/qt/qt_text.h"

#include <cmath>

namespace tkv {

QStringList game_list_rows(const std::vector<GAMELIST2_ARRAY_TYPE>& list, CodePage cp,
                           const std::function<void(int)>& progress) {
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(list.size()));
    int shown = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        rows << qt_text(list[i].name, cp);
        const int percent = static_cast<int>(std::lround(static_cast<double>(i) * 100.0 / list.size()));
        if (percent != shown && progress) progress(shown = percent);
    }
    return rows;
}

} // namespace tkv
