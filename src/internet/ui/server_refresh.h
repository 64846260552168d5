#pragma once
// Refreshing the server list from a server, as both settings windows offer it.

#include <optional>
#include <string>
#include <string_view>

#include "appearance/caption_slots.h"
#include "shell/publisher.h"

class QWidget;

namespace tkv {

struct ProgramContext;
class Dialogs;

// The captions of one settings window: the download label, the question to try the main server,
// the failure, the success.
struct ServerListCaptions {
    int label, ask_main, failed, updated;
};
inline constexpr ServerListCaptions manager_server_captions{
    caption_slot::manager_server_list_downloading, caption_slot::manager_server_list_ask_main,
    caption_slot::manager_server_list_failed, caption_slot::manager_server_list_updated};
inline constexpr ServerListCaptions options_server_captions{
    caption_slot::options_server_list_downloading, caption_slot::options_server_list_ask_main,
    caption_slot::options_server_list_failed, caption_slot::options_server_list_updated};

// Fetches "information/tkv_servers.tku" from `selected` (or, when the user agrees after a failure,
// from the main server), replaces context.server_list and information/servers.txt, and returns the
// server the window selects afterwards (the one the list came from); none when nothing changed.
std::optional<std::string> refresh_server_list(ProgramContext& context, Dialogs& dialogs,
                                               const std::string& selected,
                                               const ServerListCaptions& captions, QWidget* caller,
                                               std::string_view main_server = main_server_address);

} // namespace tkv
