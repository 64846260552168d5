#pragma once
// The text printed for one game: the chosen information entries, files, home pages and the user's
// text as body, and the header and footer around it. Captions and game texts keep different code
// pages, so everything printed is UTF-8.

#include <string>
#include <string_view>
#include <vector>

#include "appearance/captions.h"
#include "database/game_types.h"
#include "shell/codepage.h"

namespace tkv {

// Which parts of a game are printed; by default all of them.
struct PrintSelection {
    std::vector<bool> infos = std::vector<bool>(expanded_list_max, true); // by entry, in record order
    bool files = true;
    bool homepages = true;
    bool user = true;
};

// The option "informations to print" (files, home pages, user text): any character but "0", or
// none at all, switches its part on.
bool print_part_on(std::string_view option, std::size_t part);
std::string print_parts_option(bool files, bool homepages, bool user);

struct PrintTextSource {
    const Captions& captions;
    CodePage captions_code_page;
    CodePage game_code_page;
    std::string server;     // "use this server": files given as "file://" are found below it
    std::string profile_id;
};

// The body: entries under their titles, files, home pages, the user's text and an end line; empty
// when nothing was chosen that the game has.
std::string u_main_printinfo_infos(const GAMES2_TEMP_ARRAY_TYPE& game, const PrintSelection& selection,
                                   const PrintTextSource& source);

// The four header lines above the first page, counting the body as the printer takes it (its
// lines as split_lines gives them). Values are UTF-8; date and time as the system writes them short.
struct PrintHeaderValues {
    std::string title;
    std::string profile_name;
    std::string date;
    std::string time;
};
std::vector<std::string> print_header(const std::vector<std::string>& body_lines, const PrintHeaderValues& values,
                                      const Captions& captions, CodePage captions_code_page);

// The footer with the placeholders the printer fills in on every page.
std::string print_footer(const Captions& captions, CodePage captions_code_page);

} // namespace tkv
