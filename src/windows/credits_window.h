#pragma once
// Tcheatcheat: the full-screen credits.

#include <QDialog>

namespace tkv {

struct ProgramContext;

class Tcheatcheat : public QDialog {
    Q_OBJECT
  public:
    explicit Tcheatcheat(ProgramContext& context, QWidget* parent = nullptr);
};

} // namespace tkv
