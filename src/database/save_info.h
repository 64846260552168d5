#pragma once
// Saving one game's information as a document: the save dialog's question and the writing after
// it. The window shows the dialog and the message that follows.

#include <optional>
#include <string>

#include "appearance/captions.h"
#include "appearance/skin_file.h"
#include "database/game_types.h"
#include "database/text_export.h"
#include "platform/dialogs.h"
#include "shell/codepage.h"
#include "shell/options.h"

namespace tkv {

// Title "Trickvault - Save (title)", the proposed file name, the four document types, the save
// folder and the type of the "type of text file" option preselected.
FileDialogRequest save_info_dialog(const GAMES2_TEMP_ARRAY_TYPE& game, const Captions& captions,
                                   CodePage captions_code_page, CodePage profile_code_page,
                                   const OPTIONS_TYPE& options);

// After the dialog: remembers the chosen folder when the option asks, then writes the document of
// the chosen type, under the type's extension when the chosen name has none. The file written, or
// nothing when it could not be written.
std::optional<std::string> save_info_file(const GAMES2_TEMP_ARRAY_TYPE& game, const std::string& chosen,
                                          SaveType type, OPTIONS_TYPE& options, const Captions& captions,
                                          const ExportStyle& style);

// The document's font and colours: the information font option and the colours of the skin's
// information fields (the built-in skin's when skins are off).
ExportStyle export_style(const OPTIONS_TYPE& options, const SKINS_TYPE& skin);

} // namespace tkv
