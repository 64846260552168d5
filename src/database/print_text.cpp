#include "database/print_text.h"

#include "appearance/caption_slots.h"
#include "database/text_export.h"
#include "platform/print_layout.h"
#include "shell/product.h"
#include "shell/text.h"

namespace tkv {

namespace {

constexpr std::string_view crlf = "\r\n";

class BodyWriter {
  public:
    explicit BodyWriter(const PrintTextSource& source) : s_(source) {}

    // A title block of a game text (type names) or of a caption, underlined with minus signs.
    void game_title(std::string_view bytes) {
        text_ += to_utf8(games_convert_data_to_text_title(bytes, '-'), s_.game_code_page);
    }
    void caption_title(int slot) {
        text_ += to_utf8(games_convert_data_to_text_title(s_.captions[static_cast<std::size_t>(slot)], '-'),
                         s_.captions_code_page);
    }
    void game_text(std::string_view bytes) { text_ += to_utf8(bytes, s_.game_code_page); }
    // A caption line with one or two game values, left out when its first value is empty.
    void caption_line(int slot, std::string_view value, std::string_view second = {}) {
        if (value.empty()) return;
        text_ += caption_format(to_utf8(s_.captions[static_cast<std::size_t>(slot)], s_.captions_code_page),
                                {to_utf8(value, s_.game_code_page), to_utf8(second, s_.game_code_page)});
        text_ += crlf;
    }
    void line_break() { text_ += crlf; }
    void end_line() {
        if (text_.empty()) return;
        text_ += crlf;
        text_ += to_utf8(s_.captions[caption_slot::print_end_of_information], s_.captions_code_page);
    }
    std::string take() { return std::move(text_); }

  private:
    const PrintTextSource& s_;
    std::string text_;
};

} // namespace

bool print_part_on(std::string_view option, std::size_t part) {
    return part >= option.size() || option[part] != '0';
}

std::string print_parts_option(bool files, bool homepages, bool user) {
    return {files ? '1' : '0', homepages ? '1' : '0', user ? '1' : '0'};
}

std::string u_main_printinfo_infos(const GAMES2_TEMP_ARRAY_TYPE& game, const PrintSelection& selection,
                                   const PrintTextSource& source) {
    BodyWriter w(source);
    for (std::size_t i = 0; i < game.infos.size() && i < selection.infos.size(); ++i) {
        if (!selection.infos[i]) continue;
        w.game_title(game.infos[i].type_name);
        w.game_text(game.infos[i].text);
        w.line_break();
        w.line_break();
    }
    if (selection.files && !game.files.empty()) {
        // Files shipped with the profile are offered below its folder on the server.
        const std::string files_address = source.server + "profiles/" + source.profile_id + "/files/";
        w.caption_title(caption_slot::print_files_heading);
        for (const GAMES2_FILES_TYPE& file : game.files) {
            w.caption_line(caption_slot::print_file_name, file.title, file.size);
            w.caption_line(caption_slot::print_file_address,
                           replace_first(file.url, "file://", files_address));
            w.caption_line(caption_slot::print_file_description, file.description);
            w.line_break();
        }
    }
    if (selection.homepages && !game.homepages.empty()) {
        w.caption_title(caption_slot::print_home_pages_heading);
        for (const GAMES2_HOMEPAGES_TYPE& page : game.homepages) {
            w.caption_line(caption_slot::print_home_page_name, page.title);
            w.caption_line(caption_slot::print_home_page_address, page.url);
            w.caption_line(caption_slot::print_home_page_description, page.description);
            w.line_break();
        }
    }
    if (selection.user && !game.user_text.empty()) {
        w.caption_title(caption_slot::print_user_text_heading);
        w.line_break();
        w.game_text(game.user_text);
        w.line_break();
        w.line_break();
    }
    w.end_line();
    return w.take();
}

std::vector<std::string> print_header(const std::vector<std::string>& body_lines, const PrintHeaderValues& v,
                                      const Captions& captions, CodePage cp) {
    // Counted as the printed text: every line with its line break.
    std::size_t characters = 0;
    for (const std::string& line : body_lines)
        characters += print_characters(line) + crlf.size();
    const auto line = [&](int slot, std::initializer_list<std::string_view> values) {
        return caption_format(to_utf8(captions[static_cast<std::size_t>(slot)], cp), values);
    };
    return {line(caption_slot::print_header_game, {v.title, v.profile_name}),
            line(caption_slot::print_header_rows,
                 {std::to_string(body_lines.size()), std::to_string(characters)}),
            line(caption_slot::print_header_date, {v.date, v.time}),
            line(caption_slot::print_header_program, {product_name, product_version})};
}

std::string print_footer(const Captions& captions, CodePage cp) {
    return caption_format(to_utf8(captions[caption_slot::print_page_footer], cp),
                          {"{PAGESINDEX}", "{PAGESCOUNT}"});
}

} // namespace tkv
