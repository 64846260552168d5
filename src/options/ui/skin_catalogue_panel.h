#pragma once
// The options window's skin catalogue panel: the skins the publisher offers, filtered by grade,
// category, the skins installed and the skins the user ignores; details and a preview of the
// selected one; downloading one skin or all of them into the skins folder.

#include "options/ui/option_panel.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "internet/skin_catalogue.h"
#include "internet/ui/addresses.h"
#include "shell/options.h"

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class SkinDetails;
class TTKV_ListBox;

class SkinCataloguePanel : public OptionPanel {
    Q_OBJECT
  public:
    SkinCataloguePanel(ProgramContext& context, Dialogs& dialogs, MailWindows mail, QWidget* parent = nullptr);

    // Each time the options window shows this panel. connected: what the connection detector said
    // when the window opened. The first time, the catalogue may be filtered or fetched.
    void panel_shown(bool connected) override;
    // The grades; the categories are chosen once, when the window opens.
    void set_objects_value_here(const OPTIONS_TYPE& options) override;
    // The grades and the category as the options keep them.
    void get_objects_value(OPTIONS_TYPE& options) const override;
    // Searches the skins folder again after skins were installed; without it the panel does so itself.
    std::function<void()> installed_skins_changed;

    void btc_fr_sk_refreshClick();
    void btc_fr_sk_loadClick();
    void fr_sk_check();
    void ls_fr_sk_listClick();
    void btc_fr_sk_previewClick();
    void btc_fr_sk_list_downloadClick();
    void mn_fr_sk_dontshowlaterClick();
    void btc_fr_sk_download_allClick();
    const std::vector<DOWNSKINS_TYPE>& catalogue() const { return catalogue_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void cb_fr_sk_rating1Change();
    void cb_fr_sk_rating2Change();
    void cb_fr_sk_categoriesChange();
    void u_option_skin_preview_show(const std::string& path);
    void u_option_skin_preview_hide();
    // The options ask for previews and their connection rule holds.
    bool automatic_download_allowed(bool skin_previews) const;
    // The selected entry, or none.
    const DOWNSKINS_TYPE* selected() const;
    // Selects a row and shows its details.
    void select_row(int row);
    void remove_entry(int row);
    void refresh_installed_skins();
    void show_load_button();
    std::string stored_catalogue_path() const;
    std::string skins_folder() const;
    std::string skin_address(const DOWNSKINS_TYPE& skin, const char* extension) const;
    // Unpacks an archive through a staging folder, so only whole skins arrive in the skins folder.
    struct Unpacked {
        bool unpacked = false;      // the archive unpacked
        std::size_t installed = 0; // skins it brought
    };
    Unpacked unpack_skin(const std::string& archive, const std::string& key, bool silent);

    ProgramContext& context_;
    Dialogs& dialogs_;
    bool visited_ = false;
    bool selecting_ = false; // the panel changes the list's selection itself
    bool connected_ = false;
    std::vector<DOWNSKINS_TYPE> catalogue_;
    std::vector<SKIN_CATEGORIES_TYPE> categories_; // in the order of the combo box after "<< All >>"
    QPushButton* btc_fr_sk_refresh_;
    QPushButton* btc_fr_sk_load_;
    QComboBox* cb_fr_sk_rating1_;
    QComboBox* cb_fr_sk_rating2_;
    QComboBox* cb_fr_sk_categories_;
    QLabel* lb_fr_sk_list_;
    TTKV_ListBox* ls_fr_sk_list_;
    SkinDetails* details_;
    QLabel* im_fr_sk_preview_;
    QPushButton* btc_fr_sk_preview_;
    QPushButton* btc_fr_sk_list_download_;
    QPushButton* btc_fr_sk_download_all_;
    QMenu* pm_fr_sk_;
};

} // namespace tkv
