#include "database/text_export.h"

#include "appearance/caption_slots.h"
#include "shell/product.h"
#include "shell/publisher.h"
#include "shell/text.h"
#include "shell/text_lines.h"

namespace tkv {

namespace {

constexpr std::string_view crlf = "\r\n";
constexpr std::size_t wrap_width = 70;
// The fixed pieces of the RTF document.
constexpr std::string_view rtf_header_1 =
    R"({\rtf1\ansi \deff0\deflang1024{\fonttbl{\f0\froman Times New Roman;}{\f1\froman Symbol;})"
    R"({\f2\fswiss Arial;}{\f3\fmodern Courier New;}}{\colortbl;\red0\green0\blue0;\red0\green0\blue255;)"
    R"(\red0\green255\blue255;)";
constexpr std::string_view rtf_header_2 =
    R"(\red0\green255\blue0;\red255\green0\blue255;\red255\green0\blue0;\red255\green255\blue0;)"
    R"(\red255\green255\blue255;\red0\green0\blue127;\red0\green127\blue127;\red0\green127\blue0;)"
    R"(\red127\green0\blue127;\red127\green0\blue0;\red127\green127\blue0;)";
constexpr std::string_view rtf_header_3 =
    R"(\red127\green127\blue127;\red192\green192\blue192;}{\stylesheet{\fs20\lang1033 \snext0 Normal;}})"
    R"({\info{\creatim\yr2000\mo11\dy17\hr21\min41}{\revtim\yr2000\mo11\dy17\hr21\min41}{\version1})"
    R"({\edmins32}{\nofpages0}{\nofwords0}{\nofchars0}{\vern16504}})";
constexpr std::string_view rtf_header_4 =
    R"(\paperw11906\paperh16838\margl1800\margr1800\margt1440\margb1440\gutter0 \widowctrl\ftnbj \sectd )"
    R"(\linex0\headery709\footery709\colsx709\endnhere \pard\plain \fs20\lang1033 {\b\f3\fs28\ul )";
constexpr std::string_view rtf_entry_head = "\\par }{\\f3\r\n\\par }{\\plain \\f3\\ul\\lang1033 ";
constexpr std::string_view rtf_line_head = R"(\par }{\f3 )";
constexpr std::string_view rtf_footer =
    R"(\par \pard \qc\widctlpar\brdrt\brdrs\brdrw10\brsp20 \adjustright {\f3 )";

// Each non-empty text on its own line.
void append_lines(std::string& r, std::initializer_list<std::string_view> texts) {
    for (std::string_view t : texts)
        if (!t.empty()) r.append(t).append(crlf);
}

// The document's entries: the information entries, then the user's text under its caption.
template <class Visit>
void for_each_entry(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions, Visit visit) {
    for (const GAMES2_INFOS_TYPE& info : g.infos)
        visit(info.type_name, info.text);
    if (!g.user_text.empty()) visit(captions[caption_slot::info_user_text_tab], g.user_text);
}

std::string escape(std::string_view s, std::string_view (*replacement)(char)) {
    std::string r;
    r.reserve(s.size());
    for (char c : s) {
        const std::string_view with = replacement(c);
        if (with.empty())
            r += c;
        else
            r += with;
    }
    return r;
}

std::string html_text(std::string_view s) {
    return escape(s, [](char c) -> std::string_view {
        switch (c) {
        case '&':
            return "&amp;";
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        default:
            return {};
        }
    });
}

std::string rtf_text(std::string_view s) {
    return escape(s, [](char c) -> std::string_view {
        switch (c) {
        case '\\':
            return "\\\\";
        case '{':
            return "\\{";
        case '}':
            return "\\}";
        default:
            return {};
        }
    });
}

constexpr char hex_upper[] = "0123456789ABCDEF";
constexpr char hex_lower[] = "0123456789abcdef";

std::string html_colour(std::uint32_t rgb) {
    std::string r;
    for (int shift = 20; shift >= 0; shift -= 4)
        r += hex_upper[(rgb >> shift) & 0xF];
    return r;
}

void append_hex_byte(std::string& r, unsigned byte) {
    r += hex_lower[(byte >> 4) & 0xF];
    r += hex_lower[byte & 0xF];
}

// The hyperlink's stored moniker: a fixed prefix, the UTF-16 size of the address with its
// terminating zero (32-bit little-endian), the address in UTF-16LE, the zero.
std::string hyperlink_datafield(std::string_view address) {
    std::string r = "00d0c9ea79f9bace118c8200aa004ba90b0200000003000000e0c9ea79f9bace118c8200aa004ba90b";
    const std::uint32_t size = static_cast<std::uint32_t>((address.size() + 1) * 2);
    for (int shift = 0; shift < 32; shift += 8)
        append_hex_byte(r, (size >> shift) & 0xFF);
    for (char c : address) {
        append_hex_byte(r, static_cast<unsigned char>(c));
        r += "00";
    }
    return r + "0000";
}

} // namespace

std::string games_convert_data_to_text_title(std::string_view title, char underline) {
    std::string r(title);
    r += ':';
    r += crlf;
    r.append(title.size() + 1, underline);
    r += crlf;
    return r;
}

std::string games_convert_data_to_text(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions) {
    std::string r = games_convert_data_to_text_title(g.title, '=');
    r += crlf;
    for (const GAMES2_INFOS_TYPE& info : g.infos)
        r.append(games_convert_data_to_text_title(info.type_name, '-')).append(info.text).append("\r\n\r\n");
    if (!g.files.empty()) {
        r += games_convert_data_to_text_title(captions[caption_slot::info_files_tab], '-');
        for (const GAMES2_FILES_TYPE& f : g.files) {
            append_lines(r, {f.title, f.url, f.size, f.description});
            r += crlf;
        }
    }
    if (!g.homepages.empty()) {
        r += games_convert_data_to_text_title(captions[caption_slot::info_home_pages_tab], '-');
        for (const GAMES2_HOMEPAGES_TYPE& h : g.homepages) {
            append_lines(r, {h.title, h.url, h.description});
            r += crlf;
        }
    }
    if (!g.user_text.empty())
        r.append(games_convert_data_to_text_title(captions[caption_slot::info_user_text_tab], '-'))
            .append(g.user_text)
            .append(crlf);
    return r;
}

std::string games_convert_data_to_html(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions,
                                       const ExportStyle& style) {
    const std::string font =
        "<font face=\"" + html_text(style.font_face) + ", Courier New, Courier, Lucida Console\"";
    const std::string title = html_text(g.title);
    std::string r = "<html>\r\n<head>\r\n"
                    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">\r\n";
    r += "<title>" + title + "</title>\r\n</head>\r\n";
    r += "<body bgcolor=\"#" + html_colour(style.background_rgb) + "\" text=\"#" +
         html_colour(style.text_rgb) + "\">\r\n";
    r += "<pre><b>" + font + " size=4>" + title + ":</font></b></pre>";
    for_each_entry(g, captions, [&](std::string_view type_name, std::string_view text) {
        r += "\r\n<pre><u>" + font + " size=3>" + html_text(type_name) + ":</font></u></pre>";
        r += "\r\n<pre>" + font + " size=3>" + html_text(text) + "</font></pre>";
    });
    r += "\r\n<p>&nbsp;</p>\r\n<hr size=\"1\" align=\"center\">\r\n<center><font size=-2>";
    r.append(product_name).append(" v").append(product_version).append("</font><br>\r\n");
    r.append("\r\n<center><font size=-2><a href=\"").append(home_page_address).append("\" target=\"_top\">");
    r.append(home_page_address).append("</a></font></center>\r\n</body>\r\n</html>\r\n");
    return r;
}

std::string games_convert_data_to_rtf(const GAMES2_TEMP_ARRAY_TYPE& g, const Captions& captions) {
    std::string r;
    r.append(rtf_header_1).append(crlf).append(rtf_header_2).append(crlf).append(rtf_header_3).append(crlf);
    r.append(rtf_header_4).append(rtf_text(g.title)).append(":");
    for_each_entry(g, captions, [&](std::string_view type_name, std::string_view text) {
        r.append(crlf).append(rtf_entry_head).append(rtf_text(type_name)).append(":");
        for (const std::string& line : split_lines(text))
            r.append(crlf).append(rtf_line_head).append(rtf_text(line));
    });
    r.append(crlf).append(R"(\par })").append(crlf).append(R"(\par)").append(crlf).append(rtf_footer);
    r.append(product_name).append(" v").append(product_version).append(crlf).append(crlf);
    r.append(R"(\par {\field\flddirty{\*\fldinst {\f2 HYPERLINK ")").append(home_page_address);
    r.append(R"("}{\f3 {\*\datafield )").append(hyperlink_datafield(home_page_address));
    r.append(R"(}}}{\fldrslt {\cs15\f3\ul\cf2 )").append(home_page_address).append(R"(}}}{\f3)");
    r.append(R"(\par })").append(R"(\par }})");
    return r;
}

std::string export_document(const GAMES2_TEMP_ARRAY_TYPE& g, SaveType type, const Captions& captions,
                            const ExportStyle& style) {
    switch (type) {
    case SaveType::html:
        return wrap_lines(games_convert_data_to_html(g, captions, style), wrap_width, true);
    case SaveType::windows_text:
        // The text is already in the Windows code page: only the DOS form is recoded.
        return wrap_lines(games_convert_data_to_text(g, captions), wrap_width);
    case SaveType::dos_text:
        return wrap_lines(ansi_to_dos_text(games_convert_data_to_text(g, captions)), wrap_width);
    case SaveType::rtf:
        break;
    }
    return games_convert_data_to_rtf(g, captions);
}

std::string_view save_type_extension(SaveType type) {
    switch (type) {
    case SaveType::html:
        return "html";
    case SaveType::windows_text:
    case SaveType::dos_text:
        break;
    case SaveType::rtf:
        return "rtf";
    }
    return "txt";
}

std::string save_type_path(std::string_view path, SaveType type) {
    const std::string name = lower_text(path.substr(path.rfind('/') + 1));
    for (std::string_view known : {".htm", ".html", ".txt", ".rtf"})
        if (name.size() > known.size() && name.ends_with(known)) return std::string(path);
    return std::string(path).append(".").append(save_type_extension(type));
}

SaveType save_type_from_option(std::uint8_t type_of_text_file) {
    return type_of_text_file <= 3 ? static_cast<SaveType>(type_of_text_file + 1) : SaveType::rtf;
}

std::string export_file_name(std::string_view title) {
    return clean_file_name(title);
}

} // namespace tkv
