#include "profiles/ui/restore_notes_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "context/program_context.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "profiles/profile_notes.h"
#include "shell/manual.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tkv {

Trestore_notes::Trestore_notes(ProgramContext& context, Dialogs& dialogs, const PROFILES_TYPE& profile,
                               QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), profile_(profile),
      user_dat_(profile_user_dat_path(context.variables.program_folder, profile)),
      backups_(user_backups_list(user_dat_)) {
    setObjectName("Trestore_notes");
    const CodePage cp = code_page_for_language(profile.language);
    const std::string name = to_utf8(profile.name, cp);
    setWindowTitle(caption_text(context, caption_slot::restore_notes_title, {name}));
    help_on_f1(this, help::restore_notes, context.language.help_path);
    auto* layout = new QVBoxLayout(this);
    auto* explanation = new QLabel(caption_text(context, caption_slot::restore_notes_explanation), this);
    explanation->setObjectName("lb_backups");
    explanation->setWordWrap(true);
    layout->addWidget(explanation);

    tv_backups_ = new QTreeWidget(this);
    tv_backups_->setObjectName("tv_backups");
    tv_backups_->setHeaderLabels({caption_text(context, caption_slot::restore_notes_date_column), caption_text(context, caption_slot::restore_notes_games_column),
                                  caption_text(context, caption_slot::restore_notes_notes_column),
                                  caption_text(context, caption_slot::restore_notes_differences_column)});
    const auto count = [](std::size_t n) { return std::to_string(n); };
    for (const UserBackup& b : backups_) {
        auto* item = new QTreeWidgetItem(tv_backups_);
        item->setText(0, QString::fromStdString(backup_time_text(b.entry.taken)));
        if (!b.readable) {
            item->setText(1, caption_text(context, caption_slot::restore_notes_damaged));
            continue;
        }
        item->setText(1, QString::number(b.counts.games));
        item->setText(2, QString::number(b.counts.notes));
        const UserDataDiff d = user_backup_diff(user_dat_, b);
        item->setText(3, caption_text(context, caption_slot::restore_notes_differences,
                                      {count(d.added.size()), count(d.removed.size()), count(d.changed.size())}));
        for (const auto& [slot, names] : {std::pair{caption_slot::restore_notes_added, &d.added}, std::pair{caption_slot::restore_notes_removed, &d.removed},
                                         std::pair{caption_slot::restore_notes_changed, &d.changed}}) {
            if (names->empty()) continue;
            auto* group = new QTreeWidgetItem(item);
            group->setText(0, caption_text(context, slot, {count(names->size())}));
            for (const std::string& game : *names) (new QTreeWidgetItem(group))->setText(0, qt_text(game, cp));
        }
    }
    tv_backups_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (!backups_.empty()) tv_backups_->setCurrentItem(tv_backups_->topLevelItem(0));
    layout->addWidget(tv_backups_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    btc_restore_ = new QPushButton(caption_text(context, caption_slot::restore_notes_restore_button), this);
    btc_restore_->setObjectName("btc_restore");
    btc_restore_->setDefault(true);
    auto* cancel = new QPushButton(caption_text(context, caption_slot::restore_notes_cancel_button), this);
    cancel->setObjectName("btc_cancel");
    buttons->addWidget(btc_restore_);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(btc_restore_, &QPushButton::clicked, this, [this] { btc_restoreClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(720, 420);
}

void Trestore_notes::btc_restoreClick() {
    // A game's line belongs to the backup it is listed under.
    QTreeWidgetItem* item = tv_backups_->currentItem();
    while (item && item->parent()) item = item->parent();
    const int row = item ? tv_backups_->indexOfTopLevelItem(item) : -1;
    if (row < 0) return;
    const UserBackup& backup = backups_[static_cast<std::size_t>(row)];
    const Messages m = messages_of(context_, dialogs_);
    if (const auto problem = user_backup_restore(user_dat_, backup)) return m.error(m.text(caption_slot::restore_notes_not_restored, {*problem}));
    m.information(m.text(caption_slot::restore_notes_restored, {backup_time_text(backup.entry.taken)}));
    accept();
}

} // namespace tkv
