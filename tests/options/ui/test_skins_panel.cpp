// The skins panel of the options window over real skin folders: what filling shows, when a choice
// is put on at once as a preview, and what Apply and OK take from it.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "options/ui/skins_panel.h"
#include "shell/codepage.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

// A program folder with the skins Ocean ("Océan Blue", listed first) and retro ("Régi Stílus"),
// searched, and the main window wearing retro as it opens the options window.
struct Skins {
    test::TempDir home;
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    int previews = 0; // how often the window was told to put on skin_current
    std::vector<std::tuple<std::string, std::string>> mails; // address and name handed to the mail window

    Skins() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        fs::create_directories(home.path("skins"));
        fs::copy(TKV_TEST_DATA "/skins/Ocean", home.path("skins/Ocean"), fs::copy_options::recursive);
        fs::copy(TKV_TEST_DATA "/skins/retro", home.path("skins/retro"), fs::copy_options::recursive);
        search();
        c.options.use_skin = true;
        c.options.skin_name = "retro";
        c.skin_current = c.skins.skins.at(1);
        c.skin_before_options = c.skin_current;
        c.skin_name_before_options = c.options.skin_name;
    }
    void search() { skins_search_hidden(c.skins, home.folder() + "skins/", c.skin_default); }
    MailWindows mail() {
        MailWindows windows;
        windows.send_mail = [this](const std::string& address, const std::string& name, QPoint) {
            mails.emplace_back(address, name);
        };
        return windows;
    }
};

// The panel on a host widget, filled from the current options.
struct Panel {
    QWidget host;
    SkinsPanel panel;
    explicit Panel(Skins& s) : panel(s.c, s.dialogs, [&s] { ++s.previews; }, s.mail(), &host) {
        host.resize(panel.size());
        panel.set_objects_value_here(s.c.options);
    }
    TTKV_ListBox* list() const { return panel.findChild<TTKV_ListBox*>("ls_be_sk_list"); }
    QCheckBox* box(const char* name) const { return panel.findChild<QCheckBox*>(name); }
    QLabel* label(const char* name) const { return panel.findChild<QLabel*>(name); }
    QString text(const char* name) const { return label(name)->text(); }
    QStringList rows() const {
        QStringList r;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            r << list()->model()->index(i, 0).data().toString();
        return r;
    }
    int row() const { return list()->currentIndex().row(); }
    void select(int row) const { list()->setCurrentIndex(list()->model()->index(row, 0)); }
    void refresh() const { panel.findChild<QPushButton*>("btc_be_sk_refreshlist")->click(); }
    QStringList details() const {
        return {text("lb_be_sk_name"), text("lb_be_sk_ver"), text("lb_be_sk_maker"), text("ulb_be_sk_emailadd"),
                text("ulb_be_sk_webadd")};
    }
    OPTIONS_TYPE read_back() const {
        OPTIONS_TYPE o;
        panel.get_objects_value(o);
        return o;
    }
};

const QStringList retro_details{"Régi Stílus", "0.9", "Nagy Béla", "bela@example.org", "-"};
const QStringList ocean_details{"Océan Blue", "1.2 Beta (for program 3.50)", "Kis Anna", "-",
                                "http://Example.org/Ocean"};
const QStringList no_details{"-", "-", "-", "-", "-"};

TEST(SkinsPanel, FillingSelectsTheStoredSkinAndPreviewsNothing) {
    // "skins name" -> the entry selected: folders match in any letter case, else the first entry.
    const std::vector<std::tuple<std::string, int, QStringList>> cases{
        {"retro", 1, retro_details}, {"RETRO", 1, retro_details}, {"gone", 0, ocean_details}, {"", 0, ocean_details}};
    for (const auto& [name, row, details] : cases) {
        SCOPED_TRACE(name);
        Skins s;
        s.c.options.skin_name = name;
        s.c.options.random_skin = true;
        Panel p(s);
        EXPECT_EQ(p.rows(), (QStringList{"Océan Blue", "Régi Stílus"}));
        EXPECT_EQ(p.row(), row);
        EXPECT_EQ(p.details(), details);
        EXPECT_TRUE(p.box("ck_be_sk_useskin")->isChecked());
        EXPECT_TRUE(p.box("ck_be_sk_randomskin")->isChecked());
        EXPECT_TRUE(p.list()->isEnabled());
        EXPECT_TRUE(p.box("ck_be_sk_randomskin")->isEnabled());
        EXPECT_EQ(s.previews, 0);
        EXPECT_EQ(s.c.skin_current.folder, "retro");
        EXPECT_FALSE(s.c.skin_previewed);
    }
}

TEST(SkinsPanel, ShowsItsControlsInsideThePanel) {
    Skins s;
    Panel p(s);
    p.host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&p.host));
    EXPECT_EQ(p.panel.objectName(), "pa_design_skins");
    EXPECT_EQ(p.text("lb_be_sk_list"), "Skins:");
    EXPECT_EQ(p.box("ck_be_sk_useskin")->text(), "&Use skins");
    EXPECT_EQ(p.box("ck_be_sk_randomskin")->text(), "Use &random skins");
    for (const QWidget* child : p.panel.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_TRUE(p.panel.rect().contains(child->geometry()));
    }
    for (const QWidget* captioned : std::initializer_list<const QWidget*>{
             p.box("ck_be_sk_useskin"), p.box("ck_be_sk_randomskin"), p.label("lb_be_sk_list")})
        EXPECT_LE(captioned->sizeHint().width(), captioned->width()) << captioned->objectName().toStdString();
    test::save_screen(p.host, "Toption-panel-08");
}

TEST(SkinsPanel, ASelectionPreviewsAtOnceOnlyWhenTheSkinChanges) {
    Skins s;
    Panel p(s);
    p.select(0);
    EXPECT_EQ(s.previews, 1);
    EXPECT_EQ(s.c.skin_current.folder, "ocean");
    EXPECT_EQ(s.c.skin_current.name, s.c.skins.skins[0].name);
    EXPECT_EQ(s.c.skins.current_skin_index, 0u);
    EXPECT_TRUE(s.c.skin_previewed);
    EXPECT_EQ(p.details(), ocean_details);

    p.select(1);
    EXPECT_EQ(s.previews, 2);
    EXPECT_EQ(s.c.skin_current.folder, "retro");
    EXPECT_EQ(s.c.skins.current_skin_index, 1u);
    EXPECT_EQ(p.details(), retro_details);

    // Filling again selects the skin that is on already: nothing to put on.
    s.c.skin_previewed = false;
    p.panel.set_objects_value_here(s.c.options);
    EXPECT_EQ(s.previews, 2);
    EXPECT_FALSE(s.c.skin_previewed);
    EXPECT_EQ(p.details(), retro_details);
}

TEST(SkinsPanel, UncheckingGoesBackToTheDefaultLookAndCheckingBringsTheStoredSkin) {
    Skins s;
    Panel p(s);
    QCheckBox* use = p.box("ck_be_sk_useskin");
    use->click();
    EXPECT_EQ(s.previews, 1);
    EXPECT_TRUE(s.c.skin_current.folder.empty());
    EXPECT_EQ(s.c.skin_current.window_main.background, s.c.skin_default.window_main.background);
    EXPECT_FALSE(p.list()->isEnabled());
    EXPECT_FALSE(p.box("ck_be_sk_randomskin")->isEnabled());
    EXPECT_EQ(p.details(), no_details);
    EXPECT_EQ(p.label("ulb_be_sk_emailadd")->cursor().shape(), Qt::ArrowCursor);

    use->click();
    EXPECT_EQ(s.previews, 2);
    EXPECT_EQ(s.c.skin_current.folder, "retro");
    EXPECT_EQ(p.row(), 1);
    EXPECT_TRUE(p.list()->isEnabled());
    EXPECT_TRUE(p.box("ck_be_sk_randomskin")->isEnabled());
}

TEST(SkinsPanel, TheFirstShowingNeverPreviewsEvenWhenTheUserChecksTheBox) {
    Skins s;
    s.c.options.use_skin = false;
    s.c.options.skin_name.clear();
    s.c.skin_current = s.c.skin_default;
    Panel p(s);
    EXPECT_EQ(p.details(), no_details);
    EXPECT_FALSE(p.list()->isEnabled());

    p.box("ck_be_sk_useskin")->click();
    EXPECT_EQ(p.row(), 0);
    EXPECT_EQ(p.details(), ocean_details);
    EXPECT_EQ(s.previews, 0);
    EXPECT_TRUE(s.c.skin_current.folder.empty());
    // Not put on, but chosen all the same.
    EXPECT_EQ(p.read_back().skin_name, "ocean");

    // The default look is still on: unchecking has nothing to take off.
    QCheckBox* use = p.box("ck_be_sk_useskin");
    use->click();
    EXPECT_EQ(s.previews, 0);
    use->click();
    EXPECT_EQ(s.previews, 1);
    EXPECT_EQ(s.c.skin_current.folder, "ocean");
    p.select(1);
    EXPECT_EQ(s.previews, 2);
    EXPECT_EQ(s.c.skin_current.folder, "retro");
}

TEST(SkinsPanel, DefaultsSwitchSkinsOff) {
    Skins s;
    s.c.options.random_skin = true;
    Panel p(s);
    ASSERT_FALSE(s.c.option_defaults.use_skin);
    p.panel.set_objects_value_here(s.c.option_defaults);
    EXPECT_FALSE(p.box("ck_be_sk_useskin")->isChecked());
    EXPECT_FALSE(p.box("ck_be_sk_randomskin")->isChecked());
    EXPECT_FALSE(p.list()->isEnabled());
    EXPECT_EQ(p.details(), no_details);
    // The controls were filled before, so the default look is put on at once.
    EXPECT_EQ(s.previews, 1);
    EXPECT_TRUE(s.c.skin_current.folder.empty());
    const OPTIONS_TYPE o = p.read_back();
    EXPECT_FALSE(o.use_skin);
    EXPECT_FALSE(o.random_skin);
    EXPECT_EQ(o.skin_name, "");
}

TEST(SkinsPanel, ListsAndPutsOnTheSkinsThatShip) {
    Skins s;
    fs::copy(TKV_SHIPPED_SKINS, s.home.path("skins"), fs::copy_options::recursive);
    s.search();
    Panel p(s);
    EXPECT_EQ(p.rows(), (QStringList{"Contrast", "Night", "Océan Blue", "Paper", "Régi Stílus"}));
    const QStringList ours{"1.0 (for program 3.50)", "The Trickvault Team", "info@trickvault.example",
                           "http://www.trickvault.example/"};
    const std::tuple<std::string, int, QString> cases[] = {
        {"contrast", 0, "Contrast"}, {"night", 1, "Night"}, {"paper", 3, "Paper"}};
    for (const auto& [folder, row, name] : cases) {
        SCOPED_TRACE(folder);
        p.select(row);
        EXPECT_EQ(p.details(), QStringList{name} + ours);
        EXPECT_EQ(s.c.skin_current.folder, folder);
        EXPECT_TRUE(s.c.skin_current.splash.custom);
        EXPECT_EQ(p.read_back().skin_name, folder);
    }
    EXPECT_EQ(s.previews, 3);
}

TEST(SkinsPanel, NoSkinsFoundUnchecksTheBox) {
    Skins s;
    fs::remove_all(s.home.path("skins"));
    s.search();
    s.c.options.use_skin = false;
    s.c.skin_current = s.c.skin_default;
    Panel p(s);
    EXPECT_TRUE(p.rows().isEmpty());

    s.dialogs.expect_message("No skins found!", MessageAnswer::ok);
    p.box("ck_be_sk_useskin")->click();
    ASSERT_EQ(s.dialogs.messages.size(), 1u);
    EXPECT_EQ(s.dialogs.messages[0].icon, MessageIcon::error);
    EXPECT_NE(s.dialogs.messages[0].title.find("Error"), std::string::npos);
    EXPECT_NE(s.dialogs.messages[0].text.find("SKIN.INI"), std::string::npos);
    EXPECT_FALSE(p.box("ck_be_sk_useskin")->isChecked());
    EXPECT_FALSE(p.list()->isEnabled());
    EXPECT_FALSE(p.box("ck_be_sk_randomskin")->isEnabled());

    // Filling with skins switched on says the same.
    s.dialogs.expect_message("No skins found!", MessageAnswer::ok);
    s.c.options.use_skin = true;
    p.panel.set_objects_value_here(s.c.options);
    EXPECT_FALSE(p.box("ck_be_sk_useskin")->isChecked());
    EXPECT_FALSE(p.read_back().use_skin);
    EXPECT_EQ(s.previews, 0);
}

TEST(SkinsPanel, RefreshSearchesAgainAndKeepsTheChosenFolder) {
    Skins s;
    Panel p(s);
    p.select(0);
    ASSERT_EQ(s.previews, 1);

    // A new skin listed first: Ocean stays chosen. skin_current went back to retro, so Ocean is
    // put on again.
    s.home.write("skins/amber/skin.ini", "[Skin Informations]\nName=Amber\n");
    p.refresh();
    EXPECT_EQ(p.rows(), (QStringList{"Amber", "Océan Blue", "Régi Stílus"}));
    EXPECT_EQ(p.row(), 1);
    EXPECT_EQ(p.details(), ocean_details);
    EXPECT_EQ(s.previews, 2);
    EXPECT_EQ(s.c.skin_current.folder, "ocean");
    EXPECT_EQ(s.c.skins.current_skin_index, 1u);

    // retro is what the window went back to: choosing it and refreshing puts nothing on.
    p.select(2);
    ASSERT_EQ(s.previews, 3);
    p.refresh();
    EXPECT_EQ(p.row(), 2);
    EXPECT_EQ(s.previews, 3);
    EXPECT_EQ(s.c.skin_current.folder, "retro");

    // The chosen skin is gone: the first entry takes its place.
    fs::remove_all(s.home.path("skins/retro"));
    p.refresh();
    EXPECT_EQ(p.rows(), (QStringList{"Amber", "Océan Blue"}));
    EXPECT_EQ(p.row(), 0);
    EXPECT_EQ(s.previews, 4);
    EXPECT_EQ(s.c.skin_current.folder, "amber");

    // With the box unchecked the list is refilled, nothing chosen and nothing put on.
    p.box("ck_be_sk_useskin")->click();
    ASSERT_EQ(s.previews, 5);
    p.refresh();
    EXPECT_EQ(p.rows().size(), 2);
    EXPECT_EQ(p.row(), -1);
    EXPECT_EQ(p.details(), no_details);
    EXPECT_EQ(s.previews, 5);
    EXPECT_EQ(s.c.skin_current.folder, "retro");
}

TEST(SkinsPanel, ApplyTakesTheChosenSkin) {
    Skins s;
    Panel p(s);
    p.select(0);
    p.box("ck_be_sk_randomskin")->click();
    s.c.skin_current = s.c.skin_default; // whatever the preview left, Apply takes the list's choice
    OPTIONS_TYPE o = p.read_back();
    EXPECT_TRUE(o.use_skin);
    EXPECT_TRUE(o.random_skin);
    EXPECT_EQ(o.skin_name, "ocean");
    s.c.options = o;
    p.panel.apply_choice();
    EXPECT_EQ(s.c.skin_current.folder, "ocean");
    EXPECT_EQ(s.c.skin_before_options.folder, "ocean");
    EXPECT_EQ(s.c.skin_before_options.maker, "Kis Anna");
    EXPECT_EQ(s.c.skin_name_before_options, "ocean");

    p.box("ck_be_sk_useskin")->click();
    s.c.skin_current = s.c.skins.skins[1];
    o = p.read_back();
    EXPECT_FALSE(o.use_skin);
    EXPECT_EQ(o.skin_name, "");
    s.c.options = o;
    p.panel.apply_choice();
    EXPECT_TRUE(s.c.skin_current.folder.empty());
    EXPECT_EQ(s.c.skin_current.window_option.background, s.c.skin_default.window_option.background);
    EXPECT_TRUE(s.c.skin_before_options.folder.empty());
    EXPECT_EQ(s.c.skin_name_before_options, "");
}

TEST(SkinsPanel, ListsTheTableAndSearchesOnlyWhenThisRunHasNot) {
    Skins s;
    s.home.write("skins/amber/skin.ini", "[Skin Informations]\nName=Amber\n");
    {
        Panel p(s);
        EXPECT_EQ(p.rows().size(), 2);
    }
    s.c.skins.searched = false;
    Panel p(s);
    EXPECT_TRUE(s.c.skins.searched);
    EXPECT_EQ(p.rows(), (QStringList{"Amber", "Océan Blue", "Régi Stílus"}));
    EXPECT_EQ(p.row(), 2);
    EXPECT_EQ(s.previews, 0);
}

TEST(SkinsPanel, AddressLabelsOpenOnlyRealAddresses) {
    Skins s;
    s.c.options.copy_url_on_click = true;
    s.c.options.open_url_on_click = true;
    s.c.options.internal_mail = true;
    s.c.options.smtp_server = "127.0.0.1";
    s.c.options.user_name = "Me";
    s.c.options.user_email = "me@example.org";
    Panel p(s);
    QApplication::clipboard()->clear();

    QTest::mouseClick(p.label("ulb_be_sk_emailadd"), Qt::LeftButton);
    ASSERT_EQ(s.mails.size(), 1u);
    EXPECT_EQ(s.mails[0], std::make_tuple(std::string("bela@example.org"), std::string("Nagy Béla")));
    EXPECT_EQ(to_utf8(s.c.current_mail_subject, s.c.language.code_page), "About skin Régi Stílus");
    EXPECT_EQ(QApplication::clipboard()->text(), "mailto:bela@example.org");
    EXPECT_EQ(p.label("ulb_be_sk_emailadd")->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(p.label("ulb_be_sk_webadd")->cursor().shape(), Qt::ArrowCursor);
    QApplication::clipboard()->clear();
    QTest::mouseClick(p.label("ulb_be_sk_webadd"), Qt::LeftButton);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());

    // Ocean has a home page but no usable mail address.
    p.select(0);
    s.c.options.open_url_on_click = false;
    QTest::mouseClick(p.label("ulb_be_sk_emailadd"), Qt::LeftButton);
    EXPECT_EQ(s.mails.size(), 1u);
    EXPECT_TRUE(QApplication::clipboard()->text().isEmpty());
    QTest::mouseClick(p.label("ulb_be_sk_webadd"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), "http://Example.org/Ocean");
    EXPECT_EQ(p.label("ulb_be_sk_webadd")->cursor().shape(), Qt::PointingHandCursor);
}

} // namespace
} // namespace tkv
