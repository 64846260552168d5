#include "windows/main_window.h"

namespace tkv {

Tmain::Tmain(ProgramContext&, Dialogs&, QWidget* parent) : QDialog(parent) {}

} // namespace tkv
