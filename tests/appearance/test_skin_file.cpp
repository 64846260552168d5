#include "appearance/skin_file.h"
#include "shell/text_lines.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tkv {
namespace {

const std::string fixtures = TKV_TEST_DATA "/skins/";

SKINS_TYPE builtin() {
    return skins_setdefault(SystemTitleColors{});
}

void expect_item(const SKINS_ITEM_TYPE& item, const std::string& color, const std::string& font_color,
                 const std::string& font_name, int size, int style) {
    EXPECT_EQ(skin_color_text(item.color), color);
    EXPECT_EQ(skin_color_text(item.font_color), font_color);
    EXPECT_EQ(item.font_name, font_name);
    EXPECT_EQ(item.font_size, size);
    EXPECT_EQ(item.font_style, style);
}

TEST(SkinFile, BuiltInSkin) {
    SystemTitleColors system{skin_rgb(1, 0, 0),
                             skin_rgb(2, 0, 0),
                             skin_rgb(3, 0, 0),
                             skin_rgb(4, 0, 0),
                             skin_rgb(5, 0, 0),
                             skin_rgb(6, 0, 0),
                             true};
    const SKINS_TYPE gradient = skins_setdefault(system);
    const SKINS_WINDOWS_TYPE& w = gradient.window_option;
    EXPECT_EQ(skin_color_text(w.background), "4581B7");
    expect_item(w.buttons, "99CCFF", "000000", "verdana", 7, 0);
    expect_item(w.panels, "7799CC", "000000", "verdana", 7, 0);
    expect_item(w.fields, "7799CC", "000000", "verdana", 7, 0);
    expect_item(w.labels_panel, "99CCFF", "000000", "verdana", 7, 0);
    expect_item(w.labels_normal, "BBEEFF", "99CCFF", "verdana", 7, 0);
    EXPECT_EQ(w.title.left_active, skin_rgb(1, 0, 0));
    EXPECT_EQ(w.title.left_inactive, skin_rgb(2, 0, 0));
    EXPECT_EQ(w.title.right_active, skin_rgb(3, 0, 0));
    EXPECT_EQ(w.title.right_inactive, skin_rgb(4, 0, 0));
    EXPECT_EQ(w.title.active_text, skin_rgb(5, 0, 0));
    EXPECT_EQ(w.title.inactive_text, skin_rgb(6, 0, 0));
    EXPECT_TRUE(w.title.system_font);
    EXPECT_EQ(w.title.font_name, "verdana");
    EXPECT_EQ(w.title.font_size, 7);
    EXPECT_EQ(w.title.font_style, font_bold);
    EXPECT_EQ(w.title.alignment, 0);
    for (const auto* other : {&gradient.window_about, &gradient.window_download, &gradient.window_information,
                              &gradient.window_main, &gradient.window_manager, &gradient.window_other})
        EXPECT_EQ(other->labels_normal.color, w.labels_normal.color);

    // Without gradient captions both ends of a title bar are the plain caption colour.
    system.gradient_captions = false;
    const SKINS_TYPE flat = skins_setdefault(system);
    EXPECT_EQ(flat.window_main.title.right_active, skin_rgb(1, 0, 0));
    EXPECT_EQ(flat.window_main.title.right_inactive, skin_rgb(2, 0, 0));

    const SKINS_SPLASH_TYPE& splash = flat.splash;
    EXPECT_FALSE(splash.custom);
    EXPECT_EQ(skin_color_text(splash.background), "4581B7");
    for (const auto& [label, top, bottom] :
         {std::tuple{&splash.progress_label, 270, 285}, std::tuple{&splash.version_label, 255, 270}}) {
        EXPECT_EQ(label->left, 0);
        EXPECT_EQ(label->right, 250);
        EXPECT_EQ(label->top, top);
        EXPECT_EQ(label->bottom, bottom);
        EXPECT_EQ(skin_color_text(label->font_color), "89BCEF");
        EXPECT_EQ(label->font_name, "verdana");
        EXPECT_EQ(label->font_size, 7);
        EXPECT_EQ(label->font_style, font_bold);
        EXPECT_EQ(label->alignment, 1);
    }
    const SkinProgressColors progress{skin_rgb(0x77, 0x99, 0xCC), skin_rgb(0x57, 0x79, 0xAC),
                                      skin_rgb(0x77, 0x99, 0xCC), skin_rgb(0x99, 0xCC, 0xFF)};
    EXPECT_EQ(flat.progress_download, progress);
    EXPECT_EQ(flat.progress_other, progress);
    EXPECT_TRUE(flat.main_data_visible);
    EXPECT_EQ(flat.info_font_style, 0);
    EXPECT_TRUE(flat.folder.empty() && flat.name.empty() && flat.fonts.empty());
}

TEST(SkinFile, ColourSyntax) {
    const std::pair<std::string_view, SkinColor> cases[] = {
        {"4581B7", skin_rgb(0x45, 0x81, 0xB7)},
        {"4581b7", skin_rgb(0x45, 0x81, 0xB7)},
        {"FF", skin_rgb(0xFF, 0, 0)},
        {"4581B7AA", skin_rgb(0x45, 0x81, 0xB7)},
        {"zz81g7", skin_rgb(0x00, 0x81, 0x07)},
        {"", 0},
        {"\xff\x80"
         "1",
         skin_rgb(0, 0x10, 0)},
    };
    for (const auto& [text, color] : cases) {
        EXPECT_EQ(parse_skin_color(text), color) << text;
    }
    EXPECT_EQ(skin_color_text(skin_rgb(0x45, 0x81, 0xB7)), "4581B7");
}

TEST(SkinFile, ItemSyntax) {
    expect_item(parse_skin_item("FF"), "FF0000", "000000", "", 8, 0);
    expect_item(parse_skin_item("99ccff,000000,verdana,7,0"), "99CCFF", "000000", "verdana", 7, 0);
    expect_item(parse_skin_item("1,2,a b,24,7"), "100000", "200000", "a b", 24, 7);
    // Out of range and malformed numbers; the last part takes the rest of the value.
    expect_item(parse_skin_item(",,,3,8"), "000000", "000000", "", 8, 0);
    expect_item(parse_skin_item(",,,25,1,2"), "000000", "000000", "", 8, 0);
    expect_item(parse_skin_item(",, x ,+12,-1"), "000000", "000000", " x ", 12, 0);
}

TEST(SkinFile, TitleSyntax) {
    const SKINS_WORDCAP_TYPE six = parse_skin_title("010101,020202,030303,040404,050505,060606");
    EXPECT_EQ(skin_color_text(six.left_active), "010101");
    EXPECT_EQ(skin_color_text(six.right_active), "020202");
    EXPECT_EQ(skin_color_text(six.left_inactive), "030303");
    EXPECT_EQ(skin_color_text(six.right_inactive), "040404");
    EXPECT_EQ(skin_color_text(six.active_text), "050505");
    EXPECT_EQ(skin_color_text(six.inactive_text), "060606");
    EXPECT_TRUE(six.system_font); // empty counts as yes
    EXPECT_EQ(six.alignment, 0);
    EXPECT_EQ(six.font_size, 8);

    const SKINS_WORDCAP_TYPE full = parse_skin_title("1,2,3,4,5,6,0,georgia,12,3,2");
    EXPECT_FALSE(full.system_font);
    EXPECT_EQ(full.font_name, "georgia");
    EXPECT_EQ(full.font_size, 12);
    EXPECT_EQ(full.font_style, 3);
    EXPECT_EQ(full.alignment, 2);
    EXPECT_EQ(parse_skin_title("1,2,3,4,5,6,0,a,12,3,7").alignment, 7);
    EXPECT_EQ(parse_skin_title("1,2,3,4,5,6,0,a,12,3,8").alignment, 0);
}

TEST(SkinFile, SplashLabelSyntax) {
    const SKINS_SPLASH_LABEL_TYPE l = parse_skin_splash_label("10,20,200,40,FFFFFF,arial,9,1,2");
    EXPECT_EQ(l.left, 10);
    EXPECT_EQ(l.top, 20);
    EXPECT_EQ(l.right, 200);
    EXPECT_EQ(l.bottom, 40);
    EXPECT_EQ(skin_color_text(l.font_color), "FFFFFF");
    EXPECT_EQ(l.font_name, "arial");
    EXPECT_EQ(l.font_size, 9);
    EXPECT_EQ(l.font_style, font_bold);
    EXPECT_EQ(l.alignment, 2);

    const SKINS_SPLASH_LABEL_TYPE bad = parse_skin_splash_label("x,-5,99999999999,");
    EXPECT_EQ(bad.left, 0);
    EXPECT_EQ(bad.top, -5);
    EXPECT_EQ(bad.right, 0);
    EXPECT_EQ(bad.bottom, 0);
    EXPECT_EQ(bad.alignment, 1);
    EXPECT_EQ(parse_skin_splash_label("1,2,3,4,0,a,9,0,3").alignment, 1);
    EXPECT_EQ(parse_skin_splash_label("1,2,3,4,0,a,9,0,0").alignment, 0);
}

TEST(SkinFile, CurrentDialect) {
    const auto loaded = skins_load(fixtures, "OCEAN", builtin()); // folder names ignore letter case
    ASSERT_TRUE(loaded);
    const SKINS_TYPE& s = *loaded;
    EXPECT_EQ(s.folder, "ocean");
    EXPECT_EQ(s.name, "Oc\xE9"
                      "an Blue"); // as written, and not replaced after [#END#]
    EXPECT_EQ(s.version, "1.2 Beta");
    EXPECT_EQ(s.maker, "Kis Anna");
    EXPECT_EQ(s.email, "-"); // fewer than two characters
    EXPECT_EQ(s.homepage, "http://Example.org/Ocean");
    EXPECT_EQ(s.program_version, "3.50");

    // Values are lower-cased, so font files are found without regard to letter case; names that
    // are missing or lead out of the skin's folder are left out.
    ASSERT_EQ(s.fonts.size(), 2u);
    EXPECT_EQ(s.fonts[0].name, "wave sans");
    EXPECT_EQ(s.fonts[0].file, fixtures + "Ocean/Wave.TTF");
    EXPECT_EQ(s.fonts[1].name, "deep serif");
    EXPECT_EQ(s.fonts[1].file, fixtures + "Ocean/Extra/Deep.otf");

    const SKINS_WINDOWS_TYPE& about = s.window_about;
    EXPECT_EQ(skin_color_text(about.background), "102030");
    expect_item(about.buttons, "FF0000", "000000", "", 8, 0);
    expect_item(about.panels, "112233", "445566", "tahoma", 9, 1);
    expect_item(about.fields, "AABBCC", "010203", "arial", 8, 0);
    expect_item(about.labels_panel, "0A0B0C", "0D0E0F", "verdana", 24, 7);
    expect_item(about.labels_normal, "FFFFFF", "000000", "times new roman", 4, 2);
    EXPECT_EQ(skin_color_text(about.title.inactive_text), "060606");
    EXPECT_TRUE(about.title.system_font);
    EXPECT_EQ(s.window_download.title.font_name, "georgia");

    // Each window section fills its own record; a header without "]" keeps the previous section.
    const std::pair<const SKINS_WINDOWS_TYPE*, std::string> backgrounds[] = {
        {&s.window_download, "200000"}, {&s.window_information, "300000"}, {&s.window_main, "400000"},
        {&s.window_manager, "500000"},  {&s.window_option, "600000"},      {&s.window_other, "700000"}};
    for (const auto& [window, color] : backgrounds)
        EXPECT_EQ(skin_color_text(window->background), color);
    expect_item(s.window_main.panels, "123456", "654321", "impact", 10, 0);
    expect_item(s.window_manager.panels, "7799CC", "000000", "verdana", 7, 0);

    EXPECT_TRUE(s.splash.custom);
    EXPECT_EQ(s.splash.progress_label.right, 200);
    EXPECT_EQ(s.splash.progress_label.font_name, "arial");
    EXPECT_EQ(s.splash.version_label.bottom, 4);
    EXPECT_EQ(s.splash.version_label.alignment, 1);
    EXPECT_EQ(skin_color_text(s.splash.background), "ABCDEF");
    EXPECT_EQ(s.progress_download[3], skin_rgb(4, 4, 4));
    EXPECT_EQ(s.progress_other[2], skin_rgb(0x0C, 0x0C, 0x0C));
    EXPECT_EQ(s.progress_other[3], 0u);
    EXPECT_FALSE(s.main_data_visible); // the later "1" follows [#END#]
    EXPECT_EQ(s.info_font_style, 5);
}

// The old-dialect fixture with some of its button and option lines left out.
std::optional<SKINS_TYPE> load_retro_without(const std::vector<std::string>& left_out) {
    test::TempDir dir;
    std::string text;
    for (const std::string& line : split_lines(test::TempDir::read_file(fixtures + "retro/skin.ini"))) {
        bool keep = true;
        for (const std::string& part : left_out)
            keep = keep && line.find(part) == std::string::npos;
        if (keep) text += line + "\r\n";
    }
    dir.write("retro/skin.ini", text);
    return skins_load(dir.folder(), "retro", builtin());
}

TEST(SkinFile, OldDialect) {
    const auto s = load_retro_without({});
    ASSERT_TRUE(s);
    EXPECT_EQ(s->name, "R\xE9gi St\xEDlus");
    EXPECT_EQ(s->version, "0.9");
    EXPECT_EQ(s->maker, "Nagy B\xE9la");
    EXPECT_EQ(s->email, "bela@example.org");
    EXPECT_EQ(s->homepage, "-");
    EXPECT_FALSE(s->main_data_visible); // the current dialect's [Other] is not read after [Stilus]
    EXPECT_EQ(s->info_font_style, 3);

    const SKINS_WINDOWS_TYPE& other = s->window_other;
    const SKINS_WINDOWS_TYPE& option = s->window_option;
    EXPECT_EQ(skin_color_text(other.background), "203040");
    expect_item(other.labels_normal, "C0C0C0", "101010", "comic sans", 14, 2);
    expect_item(other.fields, "A0B0C0", "202020", "courier", 8, 1);
    expect_item(other.buttons, "D0D0D0", "404040", "impact", 8, 6);
    expect_item(other.panels, "A0B0C0", "202020", "courier", 8, 1);
    expect_item(other.labels_panel, "E0F0FF", "202020", "comic sans", 14, 2);
    expect_item(option.fields, "102030", "303030", "tahoma", 11, 4);
    expect_item(option.panels, "102030", "303030", "tahoma", 11, 4);
    expect_item(option.buttons, "D0D0D0", "404040", "impact", 8, 6);
    expect_item(option.labels_normal, "C0C0C0", "101010", "comic sans", 14, 2);
    expect_item(option.labels_panel, "506070", "303030", "comic sans", 14, 2);
    EXPECT_EQ(skin_color_text(option.background), "203040");
    for (const auto* w : {&s->window_about, &s->window_download, &s->window_information, &s->window_main,
                          &s->window_manager}) {
        expect_item(w->buttons, "D0D0D0", "404040", "impact", 8, 6);
        expect_item(w->labels_panel, "E0F0FF", "202020", "comic sans", 14, 2);
    }
    const SkinColor text = skin_rgb(0x20, 0x20, 0x20);
    EXPECT_EQ(s->progress_download, (SkinProgressColors{skin_rgb(0xA0, 0xB0, 0xC0), text, text, text}));
    EXPECT_EQ(s->progress_other, s->progress_download);
    EXPECT_EQ(other.title.font_name, "verdana"); // title bars stay built-in
    EXPECT_TRUE(other.title.system_font);
}

TEST(SkinFile, OldDialectCompletesWhatItsMarkedKeysDoNotGive) {
    // Neither mark: buttons and option fields look like the list fields.
    const auto none = load_retro_without({"Gombok", "Opciok"});
    ASSERT_TRUE(none);
    expect_item(none->window_other.buttons, "A0B0C0", "202020", "courier", 8, 1);
    expect_item(none->window_option.fields, "A0B0C0", "202020", "courier", 8, 1);
    expect_item(none->window_option.buttons, "A0B0C0", "202020", "courier", 8, 1);

    // Only the button colours (B): the buttons keep them and take the font of the list fields.
    const auto only_b = load_retro_without({"Opciok", "Gombok betutipusanak a neve",
                                            "Gombok betutipusanak az", "Gombok betutipusanak a koversege"});
    ASSERT_TRUE(only_b);
    expect_item(only_b->window_other.buttons, "D0D0D0", "404040", "courier", 8, 1);
    expect_item(only_b->window_option.fields, "A0B0C0", "202020", "courier", 8, 1);

    // Only option keys (A): the buttons take the list colours and keep the built-in font.
    const auto only_a = load_retro_without({"Gombok"});
    ASSERT_TRUE(only_a);
    expect_item(only_a->window_other.buttons, "A0B0C0", "202020", "verdana", 7, 0);
    expect_item(only_a->window_option.fields, "102030", "303030", "tahoma", 11, 4);
}

TEST(SkinFile, ValidityAndFolders) {
    test::TempDir dir;
    dir.write("skins/noname/skin.ini", "[Skin Informations]\r\nVersion=1\r\n");
    dir.write("skins/misplaced/skin.ini", "[Other]\r\nName=x\r\n");
    dir.write("skins/empty name/skin.ini", "[Skin Informations]\r\nName=\r\n");
    dir.write("skins/Upper/SKIN.INI", "[skin informations]\nname=Upper\n");
    dir.write("skins/noini/other.ini", "[Skin Informations]\r\nName=x\r\n");
    dir.write("outside/skin.ini", "[Skin Informations]\r\nName=outside\r\n");
    dir.write("skins/cut/skin.ini", "[Skin Informations]\r\nName=Cut\r\n[Fonts\r\nName=other\r\n");
    const std::string skins = dir.path("skins"); // without the trailing "/"

    const std::pair<std::string, const char*> cases[] = {
        {"noname", nullptr}, {"misplaced", nullptr},
        {"noini", nullptr},  {"missing", nullptr},
        {"", nullptr},       {".", nullptr},
        {"..", nullptr},     {"../outside", nullptr},
        {"upper/", nullptr}, {std::string("upper\0x", 7), nullptr},
        {"empty name", ""},  {"UPPER", "Upper"},
        {"cut", "other"},
    };
    for (const auto& [folder, name] : cases) {
        const auto skin = skins_load(skins, folder, builtin());
        ASSERT_EQ(skin.has_value(), name != nullptr) << folder;
        if (name) {
            EXPECT_EQ(skin->name, name) << folder;
        }
    }
    EXPECT_EQ(skins_load(skins, "UPPER", builtin())->folder, "upper");
}

TEST(SkinFile, HostileFilesNeverBreakTheReader) {
    test::TempDir dir;
    std::string garbage;
    for (int i = 0; i < 200000; ++i)
        garbage += static_cast<char>((i * 7919 + i / 13) % 256);
    dir.write("skins/garbage/skin.ini", garbage);
    dir.write("skins/garbage named/skin.ini", garbage + "\n[Skin Informations]\nName=Found\n" + garbage);
    const std::string long_value(1 << 20, 'v');
    dir.write("skins/long/skin.ini",
              "[Skin Informations]\r\nVersion=" + long_value + "\r\n[" + long_value + "\r\nName=Long\r\n");
    dir.write("skins/huge/skin.ini", "[Skin Informations]\r\nName=Huge\r\n" + std::string(9 << 20, ';'));
    // One line of 10 MB without a line break, and one below the size limit.
    dir.write("skins/one line/skin.ini", "[Skin Informations]Name=" + std::string(10 << 20, 'n'));
    dir.write("skins/shorter line/skin.ini", "Name=" + std::string(7 << 20, 'n'));
    dir.write("skins/many/font.ttf", "x");
    std::string many = "[Skin Informations]\nName=Many\n[Fonts]\n";
    for (int i = 0; i < 60; ++i)
        many += "face" + std::to_string(i) + "=font.ttf\n";
    dir.write("skins/many/skin.ini", many);
    const std::string skins = dir.folder() + "skins/";

    EXPECT_FALSE(skins_load(skins, "garbage", builtin()));
    ASSERT_TRUE(skins_load(skins, "garbage named", builtin()));
    EXPECT_EQ(skins_load(skins, "garbage named", builtin())->name, "Found");
    const auto long_line = skins_load(skins, "long", builtin());
    ASSERT_TRUE(long_line);
    EXPECT_EQ(long_line->version, long_value);
    EXPECT_EQ(long_line->name, "Long");
    EXPECT_FALSE(skins_load(skins, "huge", builtin())); // too large to be a skin
    EXPECT_FALSE(skins_load(skins, "one line", builtin()));
    EXPECT_FALSE(skins_load(skins, "shorter line", builtin())); // a name outside its section
    const auto many_fonts = skins_load(skins, "many", builtin());
    ASSERT_TRUE(many_fonts);
    ASSERT_EQ(many_fonts->fonts.size(), skin_fonts_max);
    EXPECT_EQ(many_fonts->fonts.back().name, "face42");
}

} // namespace
} // namespace tkv
