#pragma once
// The options window's panels whose controls are bound to options one by one: preferences, file
// downloads, internet, database, editor, saving, visualization, internet updates, this window's
// own options, and the update server with its proxy.

#include <memory>

#include "options/ui/option_panel.h"

namespace tkv {

class Dialogs;
class ProxyFields;
class ServerChoice;

OptionPanel* preferences_panel(ProgramContext& context, QWidget* parent);        // 0
OptionPanel* file_download_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent); // 1
OptionPanel* internet_panel(ProgramContext& context, QWidget* parent);           // 2
OptionPanel* database_settings_panel(ProgramContext& context, QWidget* parent);  // 3
OptionPanel* editor_panel(ProgramContext& context, QWidget* parent);             // 4
OptionPanel* save_text_panel(ProgramContext& context, Dialogs& dialogs, QWidget* parent); // 5
OptionPanel* visualization_panel(ProgramContext& context, QWidget* parent);      // 7
OptionPanel* upgrade_panel(ProgramContext& context, QWidget* parent);            // 10
OptionPanel* window_options_panel(ProgramContext& context, QWidget* parent);     // 15

// 11: the server choice of the server list and the proxy.
class ServerPanel : public OptionPanel {
    Q_OBJECT
  public:
    ServerPanel(ProgramContext& context, Dialogs& dialogs, QWidget* parent);
    ~ServerPanel() override;
    void set_objects_value_here(const OPTIONS_TYPE& options) override;
    void get_objects_value(OPTIONS_TYPE& options) const override;

  private:
    std::unique_ptr<ServerChoice> servers_;
    std::unique_ptr<ProxyFields> proxy_;
};

} // namespace tkv
