#pragma once
// Tprofile_new: the profiles the server offers; the chosen one is downloaded and installed.

#include <QDialog>
#include <memory>
#include <string>
#include <vector>

#include "profiles/profile_download.h"

class QPushButton;

namespace tkv {

struct ProgramContext;
class Dialogs;
class TTKV_ListBox;
class WindowSkin;

class Tprofile_new : public QDialog {
    Q_OBJECT
  public:
    // list: parsed, filtered and sorted, not empty.
    Tprofile_new(ProgramContext& context, Dialogs& dialogs, std::vector<DOWNPROS_TYPE> list, QWidget* parent = nullptr);
    ~Tprofile_new() override;

    // The id of the profile installed, empty when none was.
    const std::string& installed_id() const { return installed_id_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int selected_row() const;
    void update_button();
    void btc_downloadClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    std::vector<DOWNPROS_TYPE> downpros_;
    std::string installed_id_;
    std::unique_ptr<WindowSkin> skin_;
    TTKV_ListBox* ls_profiles_;
    QPushButton* btc_download_;
};

// Unpacks a downloaded profile archive next to the installed profiles and moves the profile in
// only when it holds <id>/main.dat with data: an archive that is not that profile installs
// nothing. The archive is deleted either way. True when the profile was installed.
bool install_profile_archive(ProgramContext& context, Dialogs& dialogs, const std::string& archive,
                             const std::string& id, QWidget* caller);

} // namespace tkv
