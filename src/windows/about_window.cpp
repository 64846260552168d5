#include "windows/about_window.h"

namespace tkv {

Tabout::Tabout(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tabout");
}

Tdonate::Tdonate(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tdonate");
}

} // namespace tkv
