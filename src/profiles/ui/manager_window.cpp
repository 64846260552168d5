#include "profiles/ui/manager_window.h"

namespace tkv {

Tmanager::Tmanager(ProgramContext&, Dialogs&, std::function<void()>, QWidget* parent) : QDialog(parent) {
    setObjectName("Tmanager");
}

} // namespace tkv
