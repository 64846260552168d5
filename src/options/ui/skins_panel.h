#pragma once
// The options window's skins panel: the installed skins with their details. Once the controls
// have been filled, choosing a skin puts it on at once as a preview, which the main window takes
// back when the options window is left without OK.

#include <functional>
#include <string>
#include <vector>

#include "appearance/skin_types.h"
#include "internet/ui/addresses.h"
#include "options/ui/option_panel.h"

namespace tkv {

struct ProgramContext;
class Dialogs;
class SkinDetails;
class TTKV_ListBox;

class SkinsPanel : public OptionPanel {
    Q_OBJECT
  public:
    // preview_applied runs after the preview changed context.skin_current: the window then puts
    // the skin on itself and on the main window. mail: how the e-mail label sends mail.
    // The panel is bound to "use skin", "random skin" and "skins name": filling selects the skin
    // of that folder; reading back gives "skins name" the folder of the selected skin while the
    // box is checked, else nothing.
    SkinsPanel(ProgramContext& context, Dialogs& dialogs, std::function<void()> preview_applied, MailWindows mail,
               QWidget* parent);

    // After Apply or OK wrote the options: the chosen skin becomes skin_current, and what the
    // options window goes back to when it is left without OK. True when skin_current changed
    // (a skin chosen without a preview): the windows then put it on.
    bool apply_choice();
    // Searches the skins folder again and lists it, the chosen folder kept (also after a download).
    void btc_be_sk_refreshlistClick();

  private:
    // The handlers of the box, the list and the refresh button; skin_name is the folder to select.
    void ck_be_sk_useskinClick(const std::string& skin_name);
    void ls_be_sk_listClick();

    // Searches the skins folder again, in the task window when the options ask for it.
    void skins_search();
    // The list's rows from the skin table; a copy, so rows and skins stay paired whoever searches
    // the table again.
    void fill_list();
    // Selects the entry of this folder (entry 0 when absent) and shows it.
    void select_folder(const std::string& folder);
    const SKINS_TYPE* selected() const;
    void enable_choice(bool enabled);
    // The details of a skin, or "-" everywhere.

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::function<void()> preview_applied_;
    bool skin_preview_armed_ = false;
    bool selecting_ = false; // the panel changes the list's selection itself
    std::vector<SKINS_TYPE> listed_;
    QCheckBox* ck_be_sk_useskin_;
    QCheckBox* ck_be_sk_randomskin_;
    TTKV_ListBox* ls_be_sk_list_;
    SkinDetails* details_;
};

} // namespace tkv
