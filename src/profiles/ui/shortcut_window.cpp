#include "profiles/ui/shortcut_window.h"

namespace tkv {

Tprofile_shortcut::Tprofile_shortcut(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tprofile_shortcut");
}

Tshortcut::Tshortcut(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tshortcut");
}

} // namespace tkv
