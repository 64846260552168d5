// The options window's print and information font panels: their options, previews and the work of
// their first showing. Printers come from a CUPS scheduler of this test program's own.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "appearance/ui/skin_apply.h"
#include "options/ui/info_font_panel.h"
#include "options/ui/print_panel.h"
#include "support/cups_peer.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

// A CUPS scheduler of this program's own: CUPS_SERVER names its socket before anything asks for
// printers, so the panels never see the machine's printers. It starts only when a test of
// PrintPanelPrinters runs and has no queue until a test adds one; without it the socket is dead,
// which lists no printer either.
class PrivateCups : public testing::Environment {
  public:
    static PrivateCups* instance;

    void SetUp() override {
        cups_ = std::make_unique<test::CupsPeer>(test::CupsPeer::Setup{});
        unavailable_ = test::a_test_of_suite_runs("PrintPanelPrinters") ? start() : "not needed";
    }
    void TearDown() override { cups_.reset(); }
    // Why there is no scheduler; empty when it runs.
    const std::string& unavailable() const { return unavailable_; }

  private:
    std::string start() {
        const std::string missing = test::CupsPeer::missing();
        return missing.empty() ? cups_->start("the scheduler is not running") : missing;
    }

    std::unique_ptr<test::CupsPeer> cups_;
    std::string unavailable_;
};

PrivateCups* PrivateCups::instance = static_cast<PrivateCups*>(testing::AddGlobalTestEnvironment(new PrivateCups));

// A queue of the private scheduler while it lives; nothing is ever printed on it.
class Queue {
  public:
    explicit Queue(QString name) : name_(std::move(name)) {
        EXPECT_EQ(test::run("/usr/sbin/lpadmin", {"-p", name_, "-v", "socket://127.0.0.1:9", "-E"}).exit_code, 0)
            << name_.toStdString();
    }
    ~Queue() { test::run("/usr/sbin/lpadmin", {"-x", name_}); }
    Queue(const Queue&) = delete;
    Queue& operator=(const Queue&) = delete;

  private:
    QString name_;
};

// A panel in a skinned window as the options window holds it, filled from the current options.
template <class Panel> struct Host {
    test::TempDir home;
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    QDialog window;
    std::unique_ptr<WindowSkin> skin;
    Panel* panel = nullptr;

    Host() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        skin = std::make_unique<WindowSkin>(&window, false);
        panel = new Panel(c, dialogs, skin->client());
        skin->set_client_size(panel->size(), 1.0);
        skin->apply(c.skin_current, c.skin_current.window_option, c.variables.program_folder + "skins/", 1.0);
        panel->set_objects_value_here(c.options);
        window.show();
    }
    template <class W = QWidget> W* get(const char* name) const {
        W* w = panel->template findChild<W*>(name);
        if (!w) throw std::runtime_error(std::string("no control ") + name);
        return w;
    }
    bool shown(const char* name) const { return get(name)->isVisibleTo(panel); }
    std::vector<std::string> items(const char* combo) const {
        std::vector<std::string> texts;
        const auto* box = get<QComboBox>(combo);
        for (int i = 0; i < box->count(); ++i)
            texts.push_back(box->itemText(i).toStdString());
        return texts;
    }
    OPTIONS_TYPE fill_and_read(const OPTIONS_TYPE& options) const {
        panel->set_objects_value_here(options);
        OPTIONS_TYPE back;
        panel->get_objects_value(back);
        return back;
    }
};

std::string shouted(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char ch) { return std::toupper(ch); });
    return text;
}

// Screen fonts whose names are plain ASCII with small letters, so case changes are easy to make.
std::vector<std::string> ascii_fonts() {
    std::vector<std::string> fonts;
    for (const std::string& f : screen_fonts())
        if (std::all_of(f.begin(), f.end(), [](unsigned char ch) { return ch < 128; }) && shouted(f) != f)
            fonts.push_back(f);
    return fonts;
}

template <class Panel> QFont font_of(const Host<Panel>& h, const char* name) {
    return h.get(name)->font();
}

TEST(PrintPanel, OptionsRoundTripThroughTheControls) {
    Host<PrintPanel> h;
    const std::vector<std::string> fonts = ascii_fonts();
    ASSERT_FALSE(fonts.empty());
    struct Case {
        std::string printer, font;
        std::uint8_t size;
        bool fixed, confirm, select;
        std::string font_back; // as the combo box spells it
        int size_back;
    };
    const Case cases[] = {
        // Without printers the stored name is kept; an installed font is found whatever its case.
        {"Office", shouted(fonts[0]), 13, true, false, true, fonts[0], 13},
        {"", "No Such Font", 24, false, true, false, "No Such Font", 24},
        {"x", fonts[0], 4, false, false, false, fonts[0], 4},
        {"x", fonts[0], 3, true, true, true, fonts[0], 4},
        {"x", fonts[0], 25, true, true, true, fonts[0], 4},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.font + " " + std::to_string(k.size));
        OPTIONS_TYPE o;
        o.printer_name = k.printer;
        o.print_font_name = k.font;
        o.print_font_size = k.size;
        o.fixed_width_fonts_only = k.fixed;
        o.print_confirmation = k.confirm;
        o.selective_print = k.select;
        const OPTIONS_TYPE back = h.fill_and_read(o);
        EXPECT_EQ(back.printer_name, k.printer);
        EXPECT_EQ(back.print_font_name, k.font_back);
        EXPECT_EQ(back.print_font_size, k.size_back);
        EXPECT_EQ(h.get<QComboBox>("cb_be_pr_printer_font_size")->currentText().toStdString(),
                  std::to_string(k.size_back));
        EXPECT_EQ(back.fixed_width_fonts_only, k.fixed);
        EXPECT_EQ(back.print_confirmation, k.confirm);
        EXPECT_EQ(back.selective_print, k.select);
    }

    const OPTIONS_TYPE& d = h.c.option_defaults;
    const OPTIONS_TYPE back = h.fill_and_read(d);
    EXPECT_EQ(back.printer_name, d.printer_name);
    EXPECT_EQ(back.print_font_name, d.print_font_name);
    EXPECT_EQ(back.print_font_size, d.print_font_size);
    EXPECT_EQ(back.fixed_width_fonts_only, d.fixed_width_fonts_only);
    EXPECT_EQ(back.print_confirmation, d.print_confirmation);
    EXPECT_EQ(back.selective_print, d.selective_print);
}

TEST(PrintPanel, PreviewShowsFontAndSizeInTheSkinsColours) {
    Host<PrintPanel> h;
    const std::vector<std::string> fonts = ascii_fonts();
    ASSERT_FALSE(fonts.empty());
    h.get<QComboBox>("cb_be_pr_printer_font_name")->setCurrentText(QString::fromStdString(fonts[0]));
    auto* sizes = h.get<QComboBox>("cb_be_pr_printer_font_size");
    ASSERT_EQ(sizes->count(), 21);
    for (int index = 0; index < sizes->count(); ++index) {
        sizes->setCurrentIndex(index);
        const int points = sizes->currentText().toInt();
        SCOPED_TRACE(points);
        const QFont f = font_of(h, "lb_be_pr_preview");
        EXPECT_EQ(f.family().toStdString(), fonts[0]);
        EXPECT_EQ(f.pointSize(), points);
        EXPECT_FALSE(f.bold());
        EXPECT_EQ(h.shown("im_be_pr_printer_font_size"), points >= 13);
    }
    sizes->setCurrentText("14");
    test::save_screen(h.window, "Toption-panel-06");

    SKINS_ITEM_TYPE& fields = h.c.skin_current.window_option.fields;
    fields.color = skin_rgb(10, 20, 30);
    fields.font_color = skin_rgb(250, 200, 150);
    h.panel->set_opt_printer_font_preview_style();
    const QPalette p = h.get("lb_be_pr_preview")->palette();
    EXPECT_EQ(p.color(QPalette::Window), QColor(10, 20, 30));
    EXPECT_EQ(p.color(QPalette::WindowText), QColor(250, 200, 150));
}

TEST(PrintPanel, WithoutPrinterOnlyTheMessageShows) {
    Host<PrintPanel> h;
    OPTIONS_TYPE o = h.c.options;
    o.printer_name = "Office";
    o.print_font_name = "No Such Font";
    o.print_font_size = 20;
    h.panel->set_objects_value_here(o);
    const std::vector<std::string> fonts_before = h.items("cb_be_pr_printer_font_name");

    h.panel->panel_shown(true);
    EXPECT_TRUE(h.shown("lb_be_pr_noprinter"));
    EXPECT_EQ(h.get<QLabel>("lb_be_pr_noprinter")->text(), "No printer is installed!!");
    for (const char* name : {"lb_be_pr_printer", "cb_be_pr_printer", "lb_be_pr_printer_font_name",
                             "cb_be_pr_printer_font_name", "lb_be_pr_printer_font_size", "cb_be_pr_printer_font_size",
                             "im_be_pr_printer_font_size", "ck_be_pr_onlyfixed", "ck_be_pr_printconfirmation",
                             "ck_be_pr_select", "lb_be_pr_preview"})
        EXPECT_FALSE(h.shown(name)) << name;

    // The hidden controls still hold the stored options and change nothing behind the user's back.
    h.get<QCheckBox>("ck_be_pr_onlyfixed")->click();
    h.panel->set_opt_printer_font_preview_style();
    EXPECT_FALSE(h.c.fixed_fonts_built) << "no font task for a hidden list";
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), fonts_before);
    EXPECT_FALSE(h.shown("im_be_pr_printer_font_size"));
    OPTIONS_TYPE back;
    h.panel->get_objects_value(back);
    EXPECT_EQ(back.printer_name, "Office");
    EXPECT_EQ(back.print_font_name, "No Such Font");
    EXPECT_EQ(back.print_font_size, 20);
}

TEST(PrintPanelPrinters, FirstShowListsThePrintersOnce) {
    if (!PrivateCups::instance->unavailable().empty())
        GTEST_SKIP() << "no CUPS scheduler: " << PrivateCups::instance->unavailable();
    Host<PrintPanel> h;
    ASSERT_TRUE(h.items("cb_be_pr_printer").empty());
    OPTIONS_TYPE o = h.c.options;
    o.printer_name = "LAB";
    o.fixed_width_fonts_only = true;
    h.panel->set_objects_value_here(o);

    const Queue office("Office");
    const Queue lab("Lab");
    h.panel->panel_shown(false);
    std::vector<std::string> printers = h.items("cb_be_pr_printer");
    std::sort(printers.begin(), printers.end());
    EXPECT_EQ(printers, (std::vector<std::string>{"Lab", "Office"}));
    EXPECT_EQ(h.get<QComboBox>("cb_be_pr_printer")->currentText(), "Lab");
    EXPECT_FALSE(h.shown("lb_be_pr_noprinter"));
    EXPECT_TRUE(h.shown("cb_be_pr_printer_font_name"));
    // The box was checked: the fixed-pitch fonts were found for the list.
    EXPECT_TRUE(h.c.fixed_fonts_built);
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), h.c.fixed_fonts);

    const Queue later("Later");
    h.panel->panel_shown(false);
    EXPECT_EQ(h.items("cb_be_pr_printer").size(), 2u) << "listed once per window";
    OPTIONS_TYPE back;
    h.panel->get_objects_value(back);
    EXPECT_EQ(back.printer_name, "Lab");

    // A stored printer that is gone gives way to the first one listed.
    Host<PrintPanel> next;
    o.printer_name = "Gone";
    next.panel->set_objects_value_here(o);
    next.panel->panel_shown(false);
    next.panel->get_objects_value(back);
    EXPECT_EQ(back.printer_name, next.items("cb_be_pr_printer").at(0));
}

TEST(PrintPanelPrinters, OnlyFixedSwitchesTheFontList) {
    if (!PrivateCups::instance->unavailable().empty())
        GTEST_SKIP() << "no CUPS scheduler: " << PrivateCups::instance->unavailable();
    const Queue office("Office");
    Host<PrintPanel> h;
    const std::vector<std::string> fonts = ascii_fonts();
    ASSERT_GE(fonts.size(), 2u);
    const std::string& kept = fonts[0];
    const std::string& dropped = fonts[1];
    h.c.fixed_fonts = {kept, "Mono Two"};
    h.c.fixed_fonts_built = true;
    h.c.option_defaults.print_font_name = "mono two";
    OPTIONS_TYPE o = h.c.options;
    o.fixed_width_fonts_only = false;
    o.print_font_name = dropped;
    h.panel->set_objects_value_here(o);
    h.panel->panel_shown(false);
    auto* only_fixed = h.get<QCheckBox>("ck_be_pr_onlyfixed");
    auto* font = h.get<QComboBox>("cb_be_pr_printer_font_name");
    const auto selected = [&] { return font->currentText().toStdString(); };
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), screen_fonts());
    EXPECT_EQ(selected(), dropped);

    // A font the new list lacks gives way to the default font, else to the first.
    only_fixed->click();
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), h.c.fixed_fonts);
    EXPECT_EQ(selected(), "Mono Two");
    EXPECT_EQ(h.get<QLabel>("lb_be_pr_preview")->text().toStdString(), "Mono Two");
    only_fixed->click();
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), screen_fonts());
    EXPECT_EQ(selected(), screen_fonts().at(0));

    // A font both lists hold stays selected.
    font->setCurrentText(QString::fromStdString(kept));
    only_fixed->click();
    EXPECT_EQ(selected(), kept);
    only_fixed->click();
    EXPECT_EQ(selected(), kept);

    // The defaults refill the list for their box as well.
    h.panel->set_objects_value_here(h.c.option_defaults);
    EXPECT_TRUE(only_fixed->isChecked());
    EXPECT_EQ(h.items("cb_be_pr_printer_font_name"), h.c.fixed_fonts);
    EXPECT_EQ(selected(), "Mono Two");
}

TEST(InfoFontPanel, OptionsRoundTripThroughTheControls) {
    Host<InfoFontPanel> h;
    const std::vector<std::string> fonts = ascii_fonts();
    ASSERT_FALSE(fonts.empty());
    for (std::uint8_t style = 0; style < 8; ++style) {
        SCOPED_TRACE(int{style});
        OPTIONS_TYPE o;
        o.info_style_enabled = style % 3 != 0;
        o.info_style = style;
        o.info_font_name = style % 2 ? shouted(fonts[0]) : "No Such Font";
        const OPTIONS_TYPE back = h.fill_and_read(o);
        EXPECT_EQ(back.info_style_enabled, o.info_style_enabled);
        EXPECT_EQ(back.info_style, style);
        EXPECT_EQ(h.get<QCheckBox>("ck_be_inf_infostyle_bold")->isChecked(), (style & info_style_bold) != 0);
        EXPECT_EQ(h.get<QCheckBox>("ck_be_inf_infostyle_italic")->isChecked(), (style & info_style_italic) != 0);
        EXPECT_EQ(h.get<QCheckBox>("ck_be_inf_infostyle_underline")->isChecked(),
                  (style & info_style_underline) != 0);
        EXPECT_EQ(back.info_font_name, style % 2 ? fonts[0] : "No Such Font");
    }

    const OPTIONS_TYPE& d = h.c.option_defaults;
    const OPTIONS_TYPE back = h.fill_and_read(d);
    EXPECT_EQ(back.info_style_enabled, d.info_style_enabled);
    EXPECT_EQ(back.info_style, d.info_style);
    EXPECT_EQ(back.info_font_name, d.info_font_name);
}

TEST(InfoFontPanel, StyleBoxesShowOnlyForAnOwnStyleAndThePreviewFollows) {
    Host<InfoFontPanel> h;
    const std::vector<std::string> fonts = ascii_fonts();
    ASSERT_FALSE(fonts.empty());
    h.c.skin_current.info_font_style = font_italic | font_underline;
    OPTIONS_TYPE o = h.c.options;
    o.info_style_enabled = false;
    o.info_style = info_style_bold;
    o.info_font_name = fonts[0];
    h.panel->set_objects_value_here(o);

    const char* const boxes[] = {"ck_be_inf_infostyle_bold", "ck_be_inf_infostyle_italic",
                                 "ck_be_inf_infostyle_underline"};
    const auto expect_preview = [&](bool bold, bool italic, bool underline) {
        const QFont label = font_of(h, "lb_be_inf_preview");
        EXPECT_EQ(label.family().toStdString(), fonts[0]);
        EXPECT_EQ(label.bold(), bold);
        EXPECT_EQ(label.italic(), italic);
        EXPECT_EQ(label.underline(), underline);
        EXPECT_EQ(font_of(h, "me_be_inf_preview"), label) << "the memo takes the label's font";
        for (const char* box : boxes)
            EXPECT_EQ(h.shown(box), h.get<QCheckBox>("ck_be_inf_infostyle_spec")->isChecked()) << box;
    };
    {
        SCOPED_TRACE("the skin's style");
        expect_preview(false, true, true);
    }
    h.get<QCheckBox>("ck_be_inf_infostyle_spec")->click();
    {
        SCOPED_TRACE("its own style");
        expect_preview(true, false, false);
    }
    h.get<QCheckBox>("ck_be_inf_infostyle_italic")->click();
    {
        SCOPED_TRACE("italic added");
        expect_preview(true, true, false);
    }
    test::save_screen(h.window, "Toption-panel-09");
    h.get<QCheckBox>("ck_be_inf_infostyle_spec")->click();
    {
        SCOPED_TRACE("the skin's style again");
        expect_preview(false, true, true);
    }
}

TEST(InfoFontPanel, PreviewSizeIsTheLargestWhoseLineFitsTheMemo) {
    Host<InfoFontPanel> h;
    const auto* line = h.get<QLabel>("lb_be_inf_preview");
    const int memo_width = h.get("me_be_inf_preview")->width();
    const auto width_at = [&](const std::string& font, int size, std::uint8_t style) {
        return QFontMetrics(skin_font(font, size, style)).horizontalAdvance(line->text());
    };
    // The memo narrowed until even 6 points do not fit gives the smallest size.
    const int widths[] = {memo_width, memo_width / 2, 4};
    std::vector<std::string> fonts = ascii_fonts();
    fonts.resize(std::min<std::size_t>(fonts.size(), 3));
    for (const std::string& font : fonts)
        for (const int width : widths)
            for (const std::uint8_t style : {std::uint8_t{0}, std::uint8_t{info_style_bold | info_style_italic}}) {
                SCOPED_TRACE(font + " " + std::to_string(width) + " " + std::to_string(style));
                h.get("me_be_inf_preview")->resize(width, 100);
                OPTIONS_TYPE o = h.c.options;
                o.info_font_name = font;
                o.info_style = style;
                h.panel->set_objects_value_here(o);
                const int size = font_of(h, "me_be_inf_preview").pointSize();
                ASSERT_GE(size, 6);
                ASSERT_LE(size, 20);
                if (size > 6) {
                    EXPECT_LE(width_at(font, size, style), width);
                }
                if (size < 20) {
                    EXPECT_GT(width_at(font, size + 1, style), width);
                }
            }
}

TEST(InfoFontPanel, FirstShowListsTheFixedFontsOnce) {
    {
        SCOPED_TRACE("found by the task");
        Host<InfoFontPanel> h;
        OPTIONS_TYPE o = h.c.options;
        o.info_font_name = "No Such Font";
        h.panel->set_objects_value_here(o);
        h.panel->panel_shown(false);
        EXPECT_TRUE(h.c.fixed_fonts_built);
        ASSERT_FALSE(h.c.fixed_fonts.empty());
        const std::vector<std::string> listed = h.c.fixed_fonts;
        EXPECT_EQ(h.items("cb_be_inf_infoname"), listed);
        OPTIONS_TYPE back;
        h.panel->get_objects_value(back);
        EXPECT_EQ(back.info_font_name, listed[0]) << "a font the list lacks gives way to the first";

        h.c.fixed_fonts_built = false;
        h.c.fixed_fonts = {"Other"};
        h.panel->panel_shown(false);
        EXPECT_FALSE(h.c.fixed_fonts_built) << "the task runs once per window";
        EXPECT_EQ(h.items("cb_be_inf_infoname"), listed);
    }
    {
        SCOPED_TRACE("found earlier in this run");
        Host<InfoFontPanel> h;
        h.c.fixed_fonts = {"Alpha Mono", "Beta Mono"};
        h.c.fixed_fonts_built = true;
        OPTIONS_TYPE o = h.c.options;
        o.info_font_name = "beta mono";
        h.panel->set_objects_value_here(o);
        h.panel->panel_shown(false);
        EXPECT_EQ(h.items("cb_be_inf_infoname"), (std::vector<std::string>{"Alpha Mono", "Beta Mono"}));
        EXPECT_EQ(h.get<QComboBox>("cb_be_inf_infoname")->currentText(), "Beta Mono");
    }
}

} // namespace
} // namespace tkv
