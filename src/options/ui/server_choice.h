#pragma once
// The choice of the current server as both settings windows offer it: "only the main server", or
// an entry of the server list, which can be refreshed from a server or set to the fastest one.
// The windows lay out the controls; this holds what they do.

#include <string>

#include "internet/ui/server_refresh.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tkv {

struct OPTIONS_TYPE;
struct ProgramContext;
class ByTextCombo;
class Dialogs;

class ServerChoice {
  public:
    struct Controls {
        QCheckBox* main_only;
        QLabel* label;
        ByTextCombo* servers;
        QPushButton* refresh;
        QPushButton* fastest;
    };
    // window: where the refresh and the fastest-server windows centre.
    ServerChoice(ProgramContext& context, Dialogs& dialogs, Controls controls, ServerListCaptions captions,
                 QWidget* window);
    ServerChoice(const ServerChoice&) = delete; // the controls' handlers refer to this object
    ServerChoice& operator=(const ServerChoice&) = delete;

    void show_main_only(bool main_only);
    // Fills the list from the server list and selects the entry equal to server, ignoring case.
    // A server the list lacks (one the user set by hand) is shown and kept until another is
    // chosen; entry 0 is selected only when there is no server at all.
    void show_servers(const std::string& server);
    // "use only main server" and "use this server": the main server while the box is checked.
    void store(OPTIONS_TYPE& options) const;
    // The server shown; the main server while there is none.
    std::string selected_server() const;

  private:
    void main_only_changed();
    void refresh();
    void find_fastest();

    ProgramContext& context_;
    Dialogs& dialogs_;
    Controls c_;
    ServerListCaptions captions_;
    QWidget* window_;
};

} // namespace tkv
