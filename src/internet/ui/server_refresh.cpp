#include "internet/ui/server_refresh.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "context/program_context.h"
#include "internet/server_list.h"
#include "internet/ui/download_window.h"
#include "shell/files.h"

namespace tkv {

namespace {

constexpr std::string_view list_resource = "information/tkv_servers.tku";

void take_list(ProgramContext& context, const Messages& m, const std::string& text,
               std::string_view main_server, const ServerListCaptions& captions) {
    DownloadedServerList list = process_downloaded_list_of_servers(text, main_server);
    const std::string folder = information_folder(context.variables);
    // A file that cannot be written only means the next start loads the old list.
    if (folder_create(folder)) write_file_atomic(folder + "servers.txt", list.file_text, false);
    context.server_list = std::move(list.servers);
    if (list.updated) m.information(m.text(captions.updated));
}

} // namespace

std::optional<std::string> refresh_server_list(ProgramContext& context, Dialogs& dialogs,
                                               const std::string& selected,
                                               const ServerListCaptions& captions, QWidget* caller,
                                               std::string_view main_server) {
    const Messages m = messages_of(context, dialogs);
    const std::string label = m.text(captions.label);
    const std::string url = selected + std::string(list_resource);
    std::string text;
    if (download_string(context, dialogs, url, label, caller, text)) {
        take_list(context, m, text, main_server, captions);
        return selected;
    }
    if (selected == main_server) {
        m.error(m.text(captions.failed, {url}));
        return std::nullopt;
    }
    if (m.ask(m.text(captions.ask_main, {url, main_server}), caption_slot::error_title, MessageIcon::error,
              MessageButtons::yes_no) != MessageAnswer::yes)
        return std::nullopt;
    const std::string main_url = std::string(main_server) + std::string(list_resource);
    if (!download_string(context, dialogs, main_url, label, caller, text)) {
        m.error(m.text(captions.failed, {main_url}));
        return std::nullopt;
    }
    take_list(context, m, text, main_server, captions);
    return std::string(main_server);
}

} // namespace tkv
