#include "profiles/ui/gamerun_window.h"

namespace tkv {

Tgamerun::Tgamerun(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tgamerun");
}

} // namespace tkv
