#pragma once
// What both the main window and the information window do with one expanded game's text: copy it
// to the clipboard, save it as a document, and the HTML colours and font that go with it.

#include <string>

#include "database/game_types.h"
#include "database/text_export.h"

namespace tkv {

struct ProgramContext;
class Dialogs;

// The configured information font and the colours of the skin's information fields.
ExportStyle export_style(const ProgramContext& context);

// The plain text of the game on the clipboard.
void copy_game_text(const ProgramContext& context, const GAMES2_TEMP_ARRAY_TYPE& game);

// Asks for a file and a document type, writes the document and says how it went.
void games_save_info_to_textfile(ProgramContext& context, Dialogs& dialogs, const GAMES2_TEMP_ARRAY_TYPE& game);

} // namespace tkv
