#pragma once
// A panel of the options window. Most controls are bound to one option each: the window fills
// them from an options record (the current options, or the defaults) and reads them back into
// one on Apply and OK. Panels with more to do override the three calls.

#include <QComboBox>
#include <QStyle>
#include <QRect>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shell/options.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tkv {

struct ProgramContext;

class OptionPanel : public QWidget {
    Q_OBJECT
  public:
    OptionPanel(const ProgramContext& context, const char* object_name, QWidget* parent);

    // set_objects_value_here: the controls from an options record.
    virtual void set_objects_value_here(const OPTIONS_TYPE& options);
    // get_objects_value_all's part: the controls into an options record.
    virtual void get_objects_value(OPTIONS_TYPE& options) const;
    // Each time the window shows this panel; connected: what the connection detector said when
    // the window opened.
    virtual void panel_shown(bool connected);
    // What panel_shown does for a panel that needs no class of its own.
    void set_shown_action(std::function<void(bool connected)> action) { shown_action_ = std::move(action); }

    // Building blocks of the panels. at: a designed rectangle times the screen scale; one designed
    // inside the panel stays inside it.
    QRect at(int x, int y, int w, int h) const;
    QString caption(int slot) const;
    QLabel* label(const char* name, int caption_slot, QRect geometry);
    QCheckBox* check(const char* name, int caption_slot, QRect geometry, bool OPTIONS_TYPE::*option);
    QLineEdit* text_edit(const char* name, QRect geometry, std::string OPTIONS_TYPE::*option);
    QComboBox* combo(const char* name, QRect geometry, const QStringList& items);
    // A small button showing one of the style's pictures (refresh, open a stored copy, ...).
    // A button showing only an icon; the caption in slot tip is its tooltip and its accessible name.
    QPushButton* icon_button(const char* name, QStyle::StandardPixmap icon, int tip, QRect geometry);
    // A combo box whose item index is the option's value.
    template <class Number>
    QComboBox* index_combo(const char* name, QRect geometry, const QStringList& items, Number OPTIONS_TYPE::*option) {
        QComboBox* c = combo(name, geometry, items);
        bind([c, option](const OPTIONS_TYPE& o) { c->setCurrentIndex(static_cast<int>(o.*option)); },
             [c, option](OPTIONS_TYPE& o) { o.*option = static_cast<Number>(c->currentIndex()); });
        return c;
    }
    // Any other control: how it is filled and read back.
    void bind(std::function<void(const OPTIONS_TYPE&)> set, std::function<void(OPTIONS_TYPE&)> get);

  protected:
    const ProgramContext& context_;

  private:
    std::function<void(bool connected)> shown_action_;
    std::vector<std::pair<std::function<void(const OPTIONS_TYPE&)>, std::function<void(OPTIONS_TYPE&)>>> bindings_;
};

// The items of a combo box from texts of the program (UTF-8) or captions.
QStringList utf8_items(const std::vector<std::string>& texts);
QStringList caption_items(const ProgramContext& context, int first_slot, int count);

} // namespace tkv
