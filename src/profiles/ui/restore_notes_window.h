#pragma once
// Trestore_notes: the backups of a profile's notes, newest first, each with its date, what it
// holds and the games that differ from today's notes; the chosen one is restored.

#include <QDialog>

#include <vector>

#include "database/profile_record.h"
#include "database/user_backups.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace tkv {

struct ProgramContext;
class Dialogs;

class Trestore_notes : public QDialog {
    Q_OBJECT
  public:
    Trestore_notes(ProgramContext& context, Dialogs& dialogs, const PROFILES_TYPE& profile, QWidget* parent);
    bool has_backups() const { return !backups_.empty(); }

  private:
    void btc_restoreClick();

    ProgramContext& context_;
    Dialogs& dialogs_;
    PROFILES_TYPE profile_;
    std::string user_dat_;
    std::vector<UserBackup> backups_;
    QTreeWidget* tv_backups_ = nullptr;
    QPushButton* btc_restore_ = nullptr;
};

} // namespace tkv
