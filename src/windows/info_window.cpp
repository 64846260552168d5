#include "windows/info_window.h"

#include "app/program_context.h"
#include "appearance/ui/skin_apply.h"

namespace tkv {

Tinfo::Tinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs) {
    setObjectName("Tinfo");
}

Tinfo::~Tinfo() = default;

} // namespace tkv
