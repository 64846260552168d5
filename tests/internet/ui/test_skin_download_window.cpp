// Tskindownload against skins published by tkv publish and served by a real web server.

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "cli/zip_writer.h"
#include "internet/skin_catalogue.h"
#include "internet/ui/skin_download_window.h"
#include "support/demo_editions.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

namespace fs = std::filesystem;

constexpr const char* ocean = "0001_ocean";
constexpr const char* retro = "0002_retro";

// Scripted answers, and a look at each message before it is answered.
struct WatchedDialogs : test::ScriptedDialogs {
    std::function<void(const MessageRequest&)> on_message;
    MessageAnswer message(const MessageRequest& r) override {
        if (on_message) on_message(r);
        return ScriptedDialogs::message(r);
    }
};

// The test skins Ocean and retro published below www/ of the web server, and a fresh program
// whose current server is that publication.
struct SkinSite {
    test::TempDir publisher;
    test::TempDir site;
    test::TempDir home;
    test::HttpPeer server{site.folder()};
    ProgramContext c;
    WatchedDialogs dialogs;
    std::vector<DOWNSKINS_TYPE> catalogue;

    SkinSite() {
        fs::create_directories(publisher.path("skins"));
        for (const char* name : {"Ocean", "retro"})
            fs::copy(std::string(TKV_TEST_DATA "/skins/") + name, publisher.path(std::string("skins/") + name),
                     fs::copy_options::recursive);
        const test::TkvResult published =
            test::run_tkv(publisher.folder(), {"publish", "--base", server.url("www/"), site.path("www")});
        EXPECT_EQ(published.code, cli::exit_ok) << published.err;
        catalogue = u_progress_skin_download(site.read("www/information/tkv_skins.tku"), SkinFilter{});
        EXPECT_EQ(catalogue.size(), 2u);

        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
        c.options.server = server.url("www/");
    }

    std::string archive(const std::string& key) const { return site.path("www/skins/" + key + ".tkvs"); }
    std::string address(const std::string& key) const { return c.options.server + "skins/" + key + ".tkvs"; }
    std::size_t requests_of(const std::string& path) const {
        const std::string log = server.requests();
        std::size_t n = 0;
        for (auto at = log.find("\"GET " + path + " "); at != std::string::npos;
             at = log.find("\"GET " + path + " ", at + 1))
            ++n;
        return n;
    }
    bool installed(const std::string& key) const { return fs::exists(home.path("skins/" + key + "/skin.ini")); }
    // What the skins folder holds besides installed skins: archives, staging folders, strays.
    std::vector<std::string> skins_entries() const {
        std::vector<std::string> names;
        if (fs::exists(home.path("skins")))
            for (const auto& e : fs::directory_iterator(home.path("skins")))
                names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// Acts on the running window once ready says so, from inside its event loop.
void when(QWidget& window, std::function<bool()> ready, std::function<void()> act) {
    auto* poll = new QTimer(&window);
    QObject::connect(poll, &QTimer::timeout, [poll, ready = std::move(ready), act = std::move(act)] {
        if (!ready()) return;
        poll->stop();
        act();
    });
    poll->start(5);
}

// Shows the window and presses Start once it is up; returns when the window has closed.
void run(Tskindownload& window) {
    when(window, [&] { return window.isVisible(); },
         [&] { window.findChild<QPushButton*>("btc_start")->click(); });
    window.exec();
}

QString row(const Tskindownload& window, int i) {
    const auto* list = window.findChild<TTKV_ListBox*>("ls_files");
    return list->model()->index(i, 0).data().toString();
}

int bar(const Tskindownload& window, const char* name) {
    return window.findChild<QProgressBar*>(name)->value();
}

TEST(SkinDownload, WaitsForStartListingEverySkin) {
    SkinSite s;
    Tskindownload window(s.c, s.dialogs, s.catalogue);
    EXPECT_EQ(window.windowTitle(), "Trickvault - Downloading skins...");
    EXPECT_EQ(window.findChild<QLabel*>("lb_files")->text(), "Skins to download (2 pcs):");
    EXPECT_EQ(window.findChild<QLabel*>("lb_progress_overall")->text(), "Downloads...");
    EXPECT_EQ(window.findChild<QLabel*>("lb_progress_process")->text(), "");
    // The catalogue's names are in the language's code page.
    const char* names[] = {"Océan Blue", "Régi Stílus"};
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(row(window, i).toStdString(),
                  std::string(names[i]) + " (" + s.catalogue[static_cast<std::size_t>(i)].size_kb +
                      " KBytes) - Waiting...");
    EXPECT_TRUE(window.findChild<QPushButton*>("btc_start")->isDefault());
    EXPECT_TRUE(window.findChild<QPushButton*>("btc_abort")->isHidden());

    // Until Start it closes like any window, and nothing is fetched.
    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(s.requests_of("/www/skins/" + std::string(ocean) + ".tkvs"), 0u);
    EXPECT_FALSE(fs::exists(s.home.path("skins")));
}

TEST(SkinDownload, InstallsEverySkinAndRemovesTheArchives) {
    SkinSite s;
    // An archive and a staging folder left by a run that was cut short do not get in the way.
    s.home.write(std::string("skins/") + ocean + ".tkvs", "half an archive");
    s.home.write(std::string("skins/.unpacking-") + ocean + "/old/skin.ini", "[old]");
    s.dialogs.expect_message("All skins downloaded successfully!", MessageAnswer::ok);
    Tskindownload window(s.c, s.dialogs, s.catalogue);
    run(window);

    EXPECT_TRUE(s.dialogs.all_answered());
    EXPECT_EQ(s.dialogs.messages.at(0).title, "Trickvault - Information");
    EXPECT_EQ(s.skins_entries(), (std::vector<std::string>{ocean, retro}));
    EXPECT_EQ(s.home.read(std::string("skins/") + ocean + "/skin.ini"),
              test::TempDir::read_file(TKV_TEST_DATA "/skins/Ocean/skin.ini"));
    EXPECT_EQ(s.home.read(std::string("skins/") + ocean + "/Extra/Deep.otf"),
              test::TempDir::read_file(TKV_TEST_DATA "/skins/Ocean/Extra/Deep.otf"));
    EXPECT_TRUE(s.installed(retro));
    EXPECT_EQ(window.downloaded(), 2u);
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(row(window, i).endsWith(" KBytes) - Ready.")) << row(window, i).toStdString();
    EXPECT_EQ(bar(window, "alp_progress_overall"), 100);
    EXPECT_EQ(s.requests_of("/www/skins/" + std::string(ocean) + ".tkvs"), 1u);
    EXPECT_FALSE(window.isVisible());
}

// The overall bar shares itself out by the catalogue's sizes, whatever the archives really weigh.
TEST(SkinDownload, OverallBarFollowsTheCatalogueSizes) {
    struct Case {
        const char* first_size;
        const char* second_size;
        int after_first;
    };
    for (const Case& k : {Case{"25", "75", 25}, Case{"not a number", "40", 0}, Case{"-30", "60", 0}}) {
        SCOPED_TRACE(k.first_size);
        SkinSite s;
        s.catalogue[0].size_kb = k.first_size;
        s.catalogue[1].size_kb = k.second_size;
        s.dialogs.expect_message("All skins downloaded successfully!", MessageAnswer::ok);
        Tskindownload window(s.c, s.dialogs, s.catalogue);
        auto* list = window.findChild<TTKV_ListBox*>("ls_files");
        int during_first = 0;
        std::vector<int> seen;
        QObject::connect(window.findChild<QProgressBar*>("alp_progress_overall"), &QProgressBar::valueChanged,
                         [&](int value) {
                             seen.push_back(value);
                             if (list->currentIndex().row() == 0) during_first = std::max(during_first, value);
                         });
        run(window);
        EXPECT_EQ(during_first, k.after_first);
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(bar(window, "alp_progress_overall"), 100);
    }
}

TEST(SkinDownload, FailedDownloadAsksAgainAndNoKeepsTheSkinsInstalled) {
    SkinSite s;
    fs::remove(s.archive(retro));
    const std::string retro_path = "/www/skins/" + std::string(retro) + ".tkvs";
    s.dialogs.expect_message("Unable to download skin " + s.address(retro) + "! Do you want to download again?",
                             MessageAnswer::yes)
        .expect_message(s.address(retro), MessageAnswer::no);
    Tskindownload window(s.c, s.dialogs, s.catalogue);
    run(window);

    EXPECT_TRUE(s.dialogs.all_answered()); // and no word of success
    EXPECT_EQ(s.dialogs.messages.at(0).title, "Trickvault - Error!");
    EXPECT_EQ(s.dialogs.messages.at(0).icon, MessageIcon::error);
    EXPECT_EQ(s.dialogs.messages.at(0).buttons, MessageButtons::yes_no);
    EXPECT_EQ(s.requests_of(retro_path), 2u);
    // The server's "not found" page is not left behind as an archive.
    EXPECT_EQ(s.skins_entries(), std::vector<std::string>{ocean});
    EXPECT_TRUE(s.installed(ocean));
    EXPECT_EQ(window.downloaded(), 1u);
    EXPECT_FALSE(window.isVisible());
}

TEST(SkinDownload, YesTriesTheSameSkinAgainAndTheRunGoesOn) {
    SkinSite s;
    const std::string kept = s.archive(ocean) + ".kept";
    fs::rename(s.archive(ocean), kept);
    // The archive is back on the server while the question is open.
    s.dialogs.on_message = [&](const MessageRequest& r) {
        if (r.text.find(s.address(ocean)) != std::string::npos) fs::rename(kept, s.archive(ocean));
    };
    s.dialogs.expect_message(s.address(ocean), MessageAnswer::yes)
        .expect_message("All skins downloaded successfully!", MessageAnswer::ok);
    Tskindownload window(s.c, s.dialogs, s.catalogue);
    run(window);

    EXPECT_TRUE(s.dialogs.all_answered());
    EXPECT_EQ(s.requests_of("/www/skins/" + std::string(ocean) + ".tkvs"), 2u);
    EXPECT_EQ(s.skins_entries(), (std::vector<std::string>{ocean, retro}));
    EXPECT_EQ(window.downloaded(), 2u);
}

TEST(SkinDownload, ServerFailuresLeaveNothingBehind) {
    // Server bases that answer every skin with an error status, or not at all.
    const std::vector<std::function<std::string(const SkinSite&)>> servers = {
        [](const SkinSite& s) { return s.server.url("__status/500/"); },
        [](const SkinSite&) { return "http://127.0.0.1:" + std::to_string(test::free_port()) + "/"; },
    };
    for (const auto& server : servers) {
        SkinSite s;
        s.c.options.server = server(s);
        SCOPED_TRACE(s.c.options.server);
        s.dialogs.expect_message(s.address(ocean), MessageAnswer::no);
        Tskindownload window(s.c, s.dialogs, s.catalogue);
        run(window);
        EXPECT_TRUE(s.dialogs.all_answered());
        EXPECT_EQ(s.skins_entries(), std::vector<std::string>{});
        EXPECT_EQ(window.downloaded(), 0u);
        EXPECT_TRUE(row(window, 1).endsWith("Waiting...")) << row(window, 1).toStdString();
    }
}

TEST(SkinDownload, AbortEndsTheTransferAndAsksOnce) {
    for (const bool by_key : {false, true}) {
        SCOPED_TRACE(by_key ? "Escape" : "Abort button");
        SkinSite s;
        s.c.options.server = s.server.url("__slow/20000/");
        s.dialogs.expect_message(s.address(ocean), MessageAnswer::no);
        Tskindownload window(s.c, s.dialogs, s.catalogue);
        auto* abort = window.findChild<QPushButton*>("btc_abort");
        when(
            window, [&] { return bar(window, "alp_progress_process") > 0; },
            [&] {
                if (!by_key) test::save_screen(window, "Tskindownload");
                EXPECT_TRUE(abort->isVisible());
                EXPECT_TRUE(abort->isDefault());
                EXPECT_TRUE(window.findChild<QPushButton*>("btc_start")->isHidden());
                EXPECT_EQ(window.findChild<QLabel*>("lb_progress_process")->text(), "Downloading skin...");
                EXPECT_TRUE(row(window, 0).endsWith(" KBytes) - Downloading..."));
                window.close();
                EXPECT_TRUE(window.isVisible()) << "closed while running";
                if (by_key)
                    QTest::keyClick(&window, Qt::Key_Escape);
                else
                    abort->click();
            });
        run(window);

        EXPECT_TRUE(s.dialogs.all_answered());
        EXPECT_EQ(s.dialogs.messages.size(), 1u);
        EXPECT_EQ(s.requests_of("/__slow/20000/skins/" + std::string(retro) + ".tkvs"), 0u);
        EXPECT_EQ(s.skins_entries(), std::vector<std::string>{});
        EXPECT_EQ(window.downloaded(), 0u);
        EXPECT_FALSE(window.isVisible());
    }
}

// An archive the server offers in place of a skin: an archive with only a note in the skin's
// folder, one cut short, one whose second file is damaged after skin.ini came out whole, and one
// that tries to write past the skins folder.
TEST(SkinDownload, ArchivesThatAreNoSkinInstallNothing) {
    using Make = std::function<void(const SkinSite&, const std::string& archive)>;
    const auto zip = [](const std::string& archive, const std::vector<cli::ZipEntry>& entries) {
        fs::remove(archive);
        std::string error;
        ASSERT_TRUE(cli::zip_write(archive, entries, error)) << error;
    };
    const std::string skin_ini = TKV_TEST_DATA "/skins/Ocean/skin.ini";
    const std::vector<std::pair<const char*, Make>> cases = {
        {"no skin.ini",
         [&](const SkinSite& s, const std::string& archive) {
             zip(archive, {{std::string(ocean) + "/readme.txt", s.publisher.write("readme.txt", "just a note")}});
         }},
        {"cut short",
         [](const SkinSite&, const std::string& archive) {
             const std::string whole = test::TempDir::read_file(archive);
             std::ofstream(archive, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() / 2);
         }},
        {"damaged file",
         [&](const SkinSite&, const std::string& archive) {
             const std::string wave = std::string(ocean) + "/Wave.TTF";
             zip(archive, {{std::string(ocean) + "/skin.ini", skin_ini},
                           {wave, TKV_TEST_DATA "/skins/Ocean/Wave.TTF"}});
             std::string bytes = test::TempDir::read_file(archive);
             // The local header of Wave.TTF: its name, the extra field, then its data.
             const std::size_t name = bytes.find(wave);
             ASSERT_NE(name, std::string::npos);
             const auto extra = static_cast<std::size_t>(static_cast<unsigned char>(bytes[name - 2]) |
                                                         static_cast<unsigned char>(bytes[name - 1]) << 8);
             bytes[name + wave.size() + extra] ^= 0x55;
             std::ofstream(archive, std::ios::binary | std::ios::trunc) << bytes;
         }},
        {"leaves the folder",
         [&](const SkinSite&, const std::string& archive) {
             zip(archive, {{"../" + std::string(ocean) + "/skin.ini", skin_ini},
                           {"../../" + std::string(ocean) + "/skin.ini", skin_ini}});
         }},
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        SkinSite s;
        make(s, s.archive(ocean));
        s.dialogs.expect_message("Error unpacking skin!", MessageAnswer::ok);
        Tskindownload window(s.c, s.dialogs, s.catalogue);
        run(window);

        EXPECT_TRUE(s.dialogs.all_answered());
        // Only the good skin; no archive, no staging folder, nothing of the bad one.
        EXPECT_EQ(s.skins_entries(), std::vector<std::string>{retro});
        EXPECT_FALSE(fs::exists(s.home.path(ocean)));
        EXPECT_EQ(window.downloaded(), 1u);
        EXPECT_TRUE(row(window, 0).endsWith(" KBytes) - Ready."));
    }
}

TEST(SkinDownload, AFileWhereTheSkinsFolderWouldGoIsKeptAndTheSkinReportedNotInstalled) {
    SkinSite s;
    const std::string file = s.home.write(std::string("skins/") + ocean, "the user's own file");
    s.dialogs.expect_message("Error unpacking skin!", MessageAnswer::ok);
    Tskindownload window(s.c, s.dialogs, s.catalogue);
    run(window);
    EXPECT_TRUE(s.dialogs.all_answered());
    EXPECT_EQ(test::TempDir::read_file(file), "the user's own file");
    EXPECT_TRUE(s.installed(retro));
    EXPECT_EQ(s.skins_entries(), (std::vector<std::string>{ocean, retro}));
    EXPECT_EQ(window.downloaded(), 1u);
}

} // namespace
} // namespace tkv
