#include "database/save_info.h"

#include "shell/files.h"

namespace tkv {

FileDialogRequest save_info_dialog(const GAMES2_TEMP_ARRAY_TYPE& game, const Captions& captions,
                                   CodePage captions_cp, CodePage profile_cp, const OPTIONS_TYPE& options) {
    const auto caption = [&](int slot) {
        return to_utf8(captions[static_cast<std::size_t>(slot)], captions_cp);
    };
    FileDialogRequest r;
    r.title = "Trickvault - " + caption_format(caption(185), {"Trickvault", to_utf8(game.title, profile_cp)});
    r.file_name = to_utf8(export_file_name(game.title), profile_cp);
    r.filters = {{caption(188), "*.htm;*.html"},
                 {caption(189), "*.txt"},
                 {caption(190), "*.txt"},
                 {caption(191), "*.rtf"}};
    r.folder = options.save_folder;
    r.filter_index = static_cast<int>(save_type_from_option(options.save_file_type));
    r.default_extension = "txt";
    r.confirm_overwrite = true;
    return r;
}

bool save_info_file(const GAMES2_TEMP_ARRAY_TYPE& game, const std::string& path, SaveType type,
                    OPTIONS_TYPE& options, const Captions& captions, const ExportStyle& style) {
    if (options.save_to_last_folder) options.save_folder = folder_of_path(path);
    return write_text_file(path, export_document(game, type, captions, style));
}

ExportStyle export_style(const OPTIONS_TYPE& options, const SKINS_TYPE& skin) {
    const auto rgb = [](SkinColor c) {
        return static_cast<std::uint32_t>(skin_red(c)) << 16 |
               static_cast<std::uint32_t>(skin_green(c)) << 8 | static_cast<std::uint32_t>(skin_blue(c));
    };
    const SKINS_ITEM_TYPE& fields = skin.window_information.fields;
    return {options.info_font_name, rgb(fields.color), rgb(fields.font_color)};
}

} // namespace tkv
