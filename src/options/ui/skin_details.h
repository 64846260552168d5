#pragma once
// A skin's details as both skin panels show them: name, version, maker, and the two address
// labels, which write to the maker ("About skin ...") or open the home page. Labels of a detail
// the skin does not give show "-" and do nothing.

#include <QObject>

#include <optional>
#include <string>

#include "internet/ui/addresses.h"

class QLabel;

namespace tkv {

struct ProgramContext;
class Dialogs;

class SkinDetails : public QObject {
    Q_OBJECT
  public:
    struct Labels {
        QLabel* name;
        QLabel* version;
        QLabel* maker;
        QLabel* email;
        QLabel* homepage;
    };
    // Texts in the captions' code page.
    struct Texts {
        std::string name, version, program_version, maker, email, homepage;
    };
    // parent owns this object; the labels become links.
    SkinDetails(ProgramContext& context, Dialogs& dialogs, MailWindows mail, Labels labels, QObject* parent);

    // None: every label shows "-".
    void show(const std::optional<Texts>& skin);

    void emailClick();
    void homepageClick();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    ProgramContext& context_;
    Dialogs& dialogs_;
    MailWindows mail_;
    Labels l_;
};

} // namespace tkv
