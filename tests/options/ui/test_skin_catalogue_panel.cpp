// The skin catalogue panel against skins published by tkv publish and served by a real web server.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "options/ui/options_window.h"
#include "options/ui/skin_catalogue_panel.h"
#include "shell/files.h"
#include "support/demo_editions.h"
#include "support/modal.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

// Ocean (key 0001_ocean) with a real preview picture and retro (0002_retro) with a broken one,
// published; a program folder without skins whose server is the publication.
struct Catalogue {
    test::TempDir publisher, site, home;
    test::HttpPeer server{site.folder()};
    ProgramContext c;
    test::ScriptedDialogs dialogs;

    Catalogue() {
        fs::create_directories(publisher.path("skins"));
        fs::copy(TKV_TEST_DATA "/skins/Ocean", publisher.path("skins/Ocean"), fs::copy_options::recursive);
        fs::copy(TKV_TEST_DATA "/skins/retro", publisher.path("skins/retro"), fs::copy_options::recursive);
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        EXPECT_TRUE(picture.save(QString::fromStdString(publisher.path("skins/Ocean/main.jpg")), "JPG"));
        publisher.write("skins/retro/splash.jpg", "not a picture");
        const test::TkvResult r = test::run_tkv(publisher.folder(), {"publish", "--base", base(), site.path("www")});
        EXPECT_EQ(r.code, cli::exit_ok) << r.err;

        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.server = base();
        c.options.auto_download_upgrade_info = false;
        c.options.auto_download_only_connected = false;
        c.options.auto_download_skin_previews = true;
        c.options.simple_skin_download = true;
        c.options.skin_rating_low = 1;
        c.options.skin_rating_high = 5;
    }
    std::string base() const { return server.url("www/"); }
};

QStringList rows(const SkinCataloguePanel& p) {
    const auto* model = p.findChild<TTKV_ListBox*>("ls_fr_sk_list")->model();
    QStringList r;
    for (int i = 0; i < model->rowCount(); ++i)
        r << model->index(i, 0).data().toString();
    return r;
}

QString text(const QWidget& w, const char* label) {
    return w.findChild<QLabel*>(label)->text();
}

TEST(SkinCataloguePanel, FetchesShowsDetailsAndPreviewsAndFilters) {
    Catalogue k;
    k.c.options.auto_download_upgrade_info = true;
    QWidget host;
    SkinCataloguePanel panel(k.c, k.dialogs, {}, &host);
    host.show();
    panel.panel_shown(false); // fetches by itself, then previews the first skin

    EXPECT_EQ(rows(panel), (QStringList{"Océan Blue (3.00)", "Régi Stílus (3.00)"}));
    EXPECT_EQ(text(panel, "lb_fr_sk_list"), "Skins for downloading: (2 pieces)");
    EXPECT_EQ(text(panel, "lb_fr_sk_name"), "Océan Blue");
    EXPECT_EQ(text(panel, "lb_fr_sk_ver"), "1.2 Beta (for program 3.50)");
    EXPECT_EQ(text(panel, "ulb_fr_sk_webadd"), "http://Example.org/Ocean");
    EXPECT_TRUE(panel.findChild<QLabel*>("im_fr_sk_preview")->isVisible());
    EXPECT_TRUE(fs::exists(k.home.path("skins/_preview/0001_ocean.jpg")));
    EXPECT_TRUE(fs::exists(k.home.path("information/skins.dat")));
    EXPECT_TRUE(panel.findChild<QPushButton*>("btc_fr_sk_load")->isVisible());
    test::save_screen(host, "Toption-skin-catalogue");

    // A preview that is no picture is dropped, and the button offers it again.
    panel.findChild<TTKV_ListBox*>("ls_fr_sk_list")->setCurrentIndex(
        panel.findChild<TTKV_ListBox*>("ls_fr_sk_list")->model()->index(1, 0));
    EXPECT_EQ(text(panel, "lb_fr_sk_name"), "Régi Stílus");
    EXPECT_FALSE(panel.findChild<QLabel*>("im_fr_sk_preview")->isVisible());
    EXPECT_TRUE(panel.findChild<QPushButton*>("btc_fr_sk_preview")->isVisible());
    EXPECT_FALSE(fs::exists(k.home.path("skins/_preview/0002_retro.jpg")));

    // Both skins are graded 3.00: a lowest grade of 4 leaves none and lifts the highest grade.
    auto* lowest = panel.findChild<QComboBox*>("cb_fr_sk_rating1");
    auto* highest = panel.findChild<QComboBox*>("cb_fr_sk_rating2");
    highest->setCurrentIndex(2);
    k.dialogs.expect_message("no further skins available", MessageAnswer::ok);
    lowest->setCurrentIndex(3);
    EXPECT_EQ(highest->currentIndex(), 3);
    EXPECT_TRUE(rows(panel).isEmpty());
    EXPECT_EQ(text(panel, "lb_fr_sk_list"), "Skins for downloading: (??? pieces)");
    EXPECT_FALSE(panel.findChild<QPushButton*>("btc_fr_sk_list_download")->isEnabled());
    // "Others" holds both again once the grades allow them.
    lowest->setCurrentIndex(0);
    EXPECT_EQ(rows(panel).size(), 2);
    k.dialogs.expect_message("no further skins available", MessageAnswer::ok);
    panel.findChild<QComboBox*>("cb_fr_sk_categories")->setCurrentText("Games");
    EXPECT_TRUE(rows(panel).isEmpty());
    OPTIONS_TYPE stored;
    panel.get_objects_value(stored);
    EXPECT_EQ(stored.skin_rating_low, 1);
    EXPECT_EQ(stored.skin_rating_high, 4);
    EXPECT_EQ(stored.skin_category, "12");
    EXPECT_TRUE(k.dialogs.all_answered());
}

TEST(SkinCataloguePanel, DownloadsIgnoresAndNeverOffersThoseAgain) {
    Catalogue k;
    k.c.options.auto_download_skin_previews = false;
    SkinCataloguePanel panel(k.c, k.dialogs, {});
    panel.btc_fr_sk_refreshClick();
    ASSERT_EQ(rows(panel).size(), 2);

    k.dialogs.expect_message("File downloaded", MessageAnswer::ok);
    panel.btc_fr_sk_list_downloadClick(); // the selected first skin, in simple mode
    EXPECT_TRUE(fs::exists(k.home.path("skins/0001_ocean/skin.ini")));
    EXPECT_FALSE(fs::exists(k.home.path("skins/0001_ocean.tkvs")));
    EXPECT_FALSE(fs::exists(k.home.path("skins/.unpacking-0001_ocean")));
    EXPECT_TRUE(skins_exist(k.c.skins, "0001_ocean"));
    EXPECT_EQ(rows(panel), QStringList{"Régi Stílus (3.00)"});
    EXPECT_EQ(text(panel, "lb_fr_sk_list"), "Skins for downloading: (1 pieces)");

    panel.mn_fr_sk_dontshowlaterClick();
    const std::string marker = k.home.read("skins/_dontshowlater/0002_retro.txt");
    EXPECT_TRUE(marker.starts_with("Skin file's name: 0002_retro.tkvs\r\nSkin size:")) << marker;
    EXPECT_NE(marker.find("Download:         "), std::string::npos);
    EXPECT_TRUE(rows(panel).isEmpty());
    EXPECT_EQ(text(panel, "lb_fr_sk_list"), "Skins for downloading: (0 pieces)");

    // The stored catalogue now offers neither.
    k.dialogs.expect_message("no further skins available", MessageAnswer::ok);
    panel.btc_fr_sk_loadClick();
    EXPECT_TRUE(rows(panel).isEmpty());
    EXPECT_TRUE(k.dialogs.all_answered());
}

TEST(SkinCataloguePanel, AnArchiveThatBringsNoSkinIsReportedAsAFailure) {
    Catalogue k;
    k.c.options.auto_download_skin_previews = false;
    // The server's archives: one holding no skin.ini, one that is no archive at all.
    k.publisher.write("other/retro/readme.txt", "no skin here");
    const std::string zip = "cd '" + k.publisher.path("other") + "' && zip -q -r - . > '" +
                            k.site.path("www/skins/0002_retro.tkvs") + "'";
    ASSERT_EQ(std::system(zip.c_str()), 0);
    k.site.write("www/skins/0001_ocean.tkvs", "PK\3\4 and then nothing");
    SkinCataloguePanel panel(k.c, k.dialogs, {});
    panel.btc_fr_sk_refreshClick();
    const QStringList listed = rows(panel);
    ASSERT_EQ(listed.size(), 2);

    for (const int row : {0, 1}) {
        auto* list = panel.findChild<TTKV_ListBox*>("ls_fr_sk_list");
        list->setCurrentIndex(list->model()->index(row, 0));
        k.dialogs.expect_message("Error unpacking skin!", MessageAnswer::ok);
        panel.btc_fr_sk_list_downloadClick(); // simple mode
        EXPECT_EQ(k.dialogs.messages.back().title, "Trickvault - Error!");
        EXPECT_EQ(rows(panel), listed) << "still not installed, so still offered";
    }
    EXPECT_FALSE(fs::exists(k.home.path("skins/0001_ocean")));
    EXPECT_FALSE(fs::exists(k.home.path("skins/retro")));
    EXPECT_EQ(folder_list_folders(k.home.path("skins")), std::vector<std::string>{}) << "nothing left behind";
    EXPECT_FALSE(fs::exists(k.home.path("skins/0002_retro.tkvs")));

    // Saved first and unpacked on request: the unzip task says it unpacked, then the failure follows.
    k.c.options.simple_skin_download = false;
    k.c.options.download_with_default_program = false;
    k.dialogs.expect_save(FileDialogResult{k.home.path("retro.tkvs"), 1})
        .expect_message("Do you want to unpack the downloaded skin?", MessageAnswer::yes)
        .expect_message("Files successfully unpacked", MessageAnswer::no)
        .expect_message("Error unpacking skin!", MessageAnswer::ok);
    panel.btc_fr_sk_list_downloadClick();
    EXPECT_TRUE(k.dialogs.all_answered());
}

TEST(SkinCataloguePanel, DownloadAllInstallsEverySkinAndFiltersAgain) {
    Catalogue k;
    k.c.options.auto_download_skin_previews = false;
    SkinCataloguePanel panel(k.c, k.dialogs, {});
    panel.btc_fr_sk_refreshClick();
    ASSERT_EQ(rows(panel).size(), 2);
    test::when_modal_opens("Tskindownload", [](QDialog* window) {
        window->findChild<QPushButton*>("btc_start")->click();
    });
    k.dialogs.expect_message("All skins downloaded successfully!", MessageAnswer::ok)
        .expect_message("no further skins available", MessageAnswer::ok);
    panel.btc_fr_sk_download_allClick();
    EXPECT_TRUE(skins_exist(k.c.skins, "0001_ocean"));
    EXPECT_TRUE(skins_exist(k.c.skins, "0002_retro"));
    EXPECT_TRUE(rows(panel).isEmpty()) << "installed skins are offered no more";
    EXPECT_TRUE(k.dialogs.all_answered());
}

TEST(SkinCataloguePanel, SaveDialogModeAndFailures) {
    Catalogue k;
    k.c.options.auto_download_skin_previews = false;
    k.c.options.simple_skin_download = false;
    k.c.options.download_with_default_program = false;
    SkinCataloguePanel panel(k.c, k.dialogs, {});

    // Nothing stored, nothing served.
    k.dialogs.expect_message("No such information is stored", MessageAnswer::ok);
    panel.btc_fr_sk_loadClick();
    k.c.options.server = k.server.url("nothing/");
    k.dialogs.expect_message("Information actually not available", MessageAnswer::ok);
    panel.btc_fr_sk_refreshClick();
    EXPECT_TRUE(rows(panel).isEmpty());

    k.c.options.server = k.base();
    panel.btc_fr_sk_refreshClick();
    ASSERT_EQ(rows(panel).size(), 2);
    const std::string saved = k.home.path("Saved/Ocean.TKVS");
    fs::create_directories(k.home.path("Saved"));
    k.dialogs.expect_save(FileDialogResult{saved, 1})
        .expect_message(saved, MessageAnswer::yes) // caption 544 names the file as it is
        .expect_message("", MessageAnswer::no);    // keep the archive
    panel.btc_fr_sk_list_downloadClick();
    EXPECT_EQ(k.dialogs.file_dialogs.back().file_name, "0001_ocean");
    EXPECT_EQ(k.dialogs.file_dialogs.back().folder, k.home.folder() + "skins/");
    EXPECT_TRUE(fs::exists(saved)) << "the name as chosen";
    EXPECT_TRUE(fs::exists(k.home.path("skins/0001_ocean/skin.ini")));
    EXPECT_EQ(rows(panel).size(), 1);

    // An archive the server no longer has: caption 542, the entry stays.
    fs::remove(k.site.path("www/skins/0002_retro.tkvs"));
    k.dialogs.expect_save(FileDialogResult{k.home.path("Saved/retro.tkvs"), 1})
        .expect_message("Unable to download file!", MessageAnswer::ok);
    panel.btc_fr_sk_list_downloadClick();
    EXPECT_FALSE(fs::exists(k.home.path("Saved/retro.tkvs")));
    EXPECT_EQ(rows(panel).size(), 1);

    // From read-only media nothing is downloaded.
    k.c.variables.run_from_cd = true;
    k.dialogs.expect_message("running from CD", MessageAnswer::ok);
    panel.btc_fr_sk_list_downloadClick();
    EXPECT_TRUE(k.dialogs.all_answered());
}

} // namespace
} // namespace tkv
