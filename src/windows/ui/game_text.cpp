#include "windows/ui/game_text.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "context/program_context.h"
#include "database/save_info.h"
#include "platform/qt/qt_text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tkv {

ExportStyle export_style(const ProgramContext& c) {
    return export_style(c.options, c.skin_current);
}

void copy_game_text(const ProgramContext& c, const GAMES2_TEMP_ARRAY_TYPE& game) {
    QString text = qt_text(games_convert_data_to_text(game, c.CAPTIONS), profile_code_page(c));
    text.replace("\r\n", "\n"); // the desktop's clipboard holds plain line breaks
    QGuiApplication::clipboard()->setText(text);
}

void games_save_info_to_textfile(ProgramContext& c, Dialogs& dialogs, const GAMES2_TEMP_ARRAY_TYPE& game) {
    const CodePage game_cp = profile_code_page(c);
    const auto chosen =
        dialogs.save_file(save_info_dialog(game, c.CAPTIONS, c.language.code_page, game_cp, c.options));
    if (!chosen) return;
    const SaveType type = static_cast<SaveType>(std::clamp(chosen->filter_index, 1, 4));
    const Messages m = messages_of(c, dialogs);
    if (const auto written = save_info_file(game, chosen->path, type, c.options, c.CAPTIONS, export_style(c)))
        m.information(m.text(caption_slot::info_saved, {*written, to_utf8(game.title, game_cp)}));
    else
        m.error(m.text(caption_slot::info_save_failed, {save_type_path(chosen->path, type)}));
}

} // namespace tkv
