#include "options/ui/server_choice.h"

#include "context/program_context.h"
#include "internet/ui/fastest_window.h"
#include "options/ui/by_text_combo.h"
#include "options/ui/option_panel.h"
#include "platform/qt/qt_text.h"
#include "shell/publisher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <initializer_list>

namespace tkv {

ServerChoice::ServerChoice(ProgramContext& context, Dialogs& dialogs, Controls controls, ServerListCaptions captions,
                           QWidget* window)
    : context_(context), dialogs_(dialogs), c_(controls), captions_(captions), window_(window) {
    QObject::connect(c_.main_only, &QCheckBox::toggled, c_.main_only, [this] { main_only_changed(); });
    QObject::connect(c_.refresh, &QPushButton::clicked, c_.refresh, [this] { refresh(); });
    QObject::connect(c_.fastest, &QPushButton::clicked, c_.fastest, [this] { find_fastest(); });
    main_only_changed();
}

void ServerChoice::show_main_only(bool main_only) {
    c_.main_only->setChecked(main_only);
    main_only_changed();
}

void ServerChoice::show_servers(const std::string& server) {
    c_.servers->clear();
    c_.servers->addItems(utf8_items(context_.server_list));
    c_.servers->select_text(server, server.empty() ? 0 : -1);
}

void ServerChoice::store(OPTIONS_TYPE& o) const {
    o.main_server_only = c_.main_only->isChecked();
    o.server = o.main_server_only ? std::string(main_server_address) : selected_server();
}

std::string ServerChoice::selected_server() const {
    const std::string server = c_.servers->value();
    return server.empty() ? std::string(main_server_address) : server;
}

// While only the main server is used, the list and its buttons have nothing to say.
void ServerChoice::main_only_changed() {
    const bool shown = !c_.main_only->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{c_.label, c_.servers, c_.refresh, c_.fastest})
        w->setVisible(shown);
}

void ServerChoice::refresh() {
    if (const std::optional<std::string> source =
            refresh_server_list(context_, dialogs_, selected_server(), captions_, window_))
        show_servers(*source);
}

void ServerChoice::find_fastest() {
    const int chosen = c_.servers->currentIndex();
    Tservers_fastest fastest(context_, window_);
    fastest.exec();
    c_.servers->setCurrentIndex(fastest.chosen_index().value_or(chosen));
}

} // namespace tkv
