#pragma once
// One expanded game as a document: plain text, HTML, RTF, or plain text for a DOS code page.

#include <cstdint>
#include <string>
#include <string_view>

#include "appearance/captions.h"
#include "database/game_types.h"

namespace tkv {

// The title, ":", CR LF, an underline as long as the title with its colon, CR LF.
std::string games_convert_data_to_text_title(std::string_view title, char underline);

// The plain text: title, information entries, files, home pages, the user's text.
std::string games_convert_data_to_text(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions);

// How the HTML page looks; the caller takes the values from the configuration and the skin.
struct ExportStyle {
    std::string font_face;
    std::uint32_t background_rgb = 0xFFFFFF; // 0xRRGGBB
    std::uint32_t text_rgb = 0x000000;
};

// HTML and RTF hold the title, the information entries and the user's text, never files or home
// pages. Inserted texts are escaped for the document's syntax.
std::string games_convert_data_to_html(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions,
                                       const ExportStyle& style);
std::string games_convert_data_to_rtf(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions);

// The file types of the save dialog, numbered as it lists them.
enum class SaveType : int { html = 1, windows_text = 2, dos_text = 3, rtf = 4 };

// The document written for the chosen type: HTML and both plain texts wrapped at 70, RTF as it is.
std::string export_document(const GAMES2_TEMP_ARRAY_TYPE& g, SaveType type, const Captions& captions,
                            const ExportStyle& style);
// The extension of a document of that type, without the dot: html, txt or rtf.
std::string_view save_type_extension(SaveType type);
// The file a document of that type is written to: the chosen path, with the type's extension added
// unless its name already ends in the extension of one of the save types (.htm, .html, .txt, .rtf).
std::string save_type_path(std::string_view path, SaveType type);
// The dialog's preselected type from the "type of text file" option (0 HTML .. 3 RTF).
SaveType save_type_from_option(std::uint8_t type_of_text_file);
// The file name the save dialog proposes for a game.
std::string export_file_name(std::string_view title);

} // namespace tkv
