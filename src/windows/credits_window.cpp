#include "windows/credits_window.h"

namespace tkv {

Tcheatcheat::Tcheatcheat(ProgramContext&, QWidget* parent) : QDialog(parent) {
    setObjectName("Tcheatcheat");
}

} // namespace tkv
