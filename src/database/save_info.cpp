#include "database/save_info.h"

#include "appearance/caption_slots.h"
#include "shell/files.h"
#include "shell/product.h"

namespace tkv {

FileDialogRequest save_info_dialog(const GAMES2_TEMP_ARRAY_TYPE& game, const Captions& captions,
                                   CodePage captions_cp, CodePage profile_cp, const OPTIONS_TYPE& options) {
    const auto caption = [&](int slot) {
        return to_utf8(captions[static_cast<std::size_t>(slot)], captions_cp);
    };
    FileDialogRequest r;
    r.title = std::string(product_name) + " - " +
              caption_format(caption(caption_slot::info_save_title),
                             {product_name, to_utf8(game.title, profile_cp)});
    r.file_name = to_utf8(export_file_name(game.title), profile_cp);
    r.filters = {{caption(caption_slot::info_save_html_filter), "*.htm;*.html"},
                 {caption(caption_slot::info_save_windows_text_filter), "*.txt"},
                 {caption(caption_slot::info_save_dos_text_filter), "*.txt"},
                 {caption(caption_slot::info_save_rtf_filter), "*.rtf"}};
    for (SaveType type : {SaveType::html, SaveType::windows_text, SaveType::dos_text, SaveType::rtf})
        r.filter_extensions.emplace_back(save_type_extension(type));
    r.folder = options.save_folder;
    r.filter_index = static_cast<int>(save_type_from_option(options.save_file_type));
    r.confirm_overwrite = true;
    return r;
}

std::optional<std::string> save_info_file(const GAMES2_TEMP_ARRAY_TYPE& game, const std::string& chosen,
                                          SaveType type, OPTIONS_TYPE& options, const Captions& captions,
                                          const ExportStyle& style) {
    const std::string path = save_type_path(chosen, type);
    if (options.save_to_last_folder) options.save_folder = folder_of_path(path);
    if (!write_text_file(path, export_document(game, type, captions, style))) return std::nullopt;
    return path;
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
