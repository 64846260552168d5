// Downloads through the download window from a real web server on 127.0.0.1.

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "internet/ui/download_window.h"
#include "support/modal.h"
#include "support/peers.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace tkv {
namespace {

struct Served {
    test::TempDir home;
    test::TempDir root;
    test::HttpPeer server{root.folder()};
    ProgramContext c;
    test::ScriptedDialogs dialogs;
    Served() {
        context_initialize(c, home.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
    }
};

TEST(Tdownload, TextResourcesNeedTheirMarkerAndGetCrLfLineEnds) {
    Served s;
    s.root.write("information/tkv_servers.tku", ";Trickvault\nhttp://a.example/\nhttp://b.example/\n");
    s.root.write("plain.txt", "no marker\n");
    std::string text;
    EXPECT_TRUE(download_string(s.c, s.dialogs, s.server.url("information/tkv_servers.tku"), "List", nullptr, text));
    EXPECT_EQ(text, "http://a.example/\r\nhttp://b.example/\r\n");
    EXPECT_FALSE(download_string(s.c, s.dialogs, s.server.url("plain.txt"), "List", nullptr, text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(download_string(s.c, s.dialogs, s.server.url("missing.tku"), "List", nullptr, text));
}

TEST(Tdownload, NamedResourcesKeepTheirBytes) {
    Served s;
    const std::string body = std::string("\x15") + "TRICKVAULT350GAMELIST" + "\r\n\n\x01";
    s.root.write("list.tkv", body);
    std::string bytes;
    EXPECT_TRUE(download_string2(s.c, s.dialogs, s.server.url("list.tkv"), "List", "trickvault350gamelist", nullptr,
                                 bytes));
    EXPECT_EQ(bytes, "\r\n\n\x01");
    EXPECT_FALSE(
        download_string2(s.c, s.dialogs, s.server.url("list.tkv"), "List", "TRICKVAULT350SKINLIST", nullptr, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(Tdownload, FilesAreWrittenWholeOrNotAtAll) {
    Served s;
    s.root.write("files/patch.zip", std::string(50000, 'p'));
    const std::string target = s.home.path("patch.zip");
    EXPECT_TRUE(download_file(s.c, s.dialogs, s.server.url("files/patch.zip"), target, nullptr, "Patch"));
    EXPECT_EQ(test::TempDir::read_file(target), std::string(50000, 'p'));
    EXPECT_FALSE(s.c.last_download_speed.empty());

    EXPECT_FALSE(download_file(s.c, s.dialogs, s.server.url("files/gone.zip"), target, nullptr, "Patch"));
    EXPECT_FALSE(std::filesystem::exists(target)) << "the replaced target of a failed download is removed";

    s.dialogs.expect_message("Unkown URL, download failed!", MessageAnswer::ok);
    EXPECT_FALSE(download_file(s.c, s.dialogs, "ftp://127.0.0.1/x", target, nullptr, "Patch"));
}

TEST(Tdownload, CancelEndsTheTransferAndRemovesThePartialFile) {
    Served s;
    const std::string target = s.home.path("slow.bin");
    bool cancelled = false;
    QTimer watch; // runs inside the transfer's own event loop
    test::when_modal_opens("Tdownload", [&](QDialog* w) {
        auto* position = w->findChild<QLabel*>("lb_position");
        watch.callOnTimeout([&, w, position] {
            if (position->text().startsWith("???")) return; // no bytes yet
            watch.stop();
            test::save_screen(*w, "Tdownload");
            QTest::mouseClick(w->findChild<QPushButton*>("btc_abort"), Qt::LeftButton);
            cancelled = true;
        });
        watch.start(20);
    });
    EXPECT_FALSE(download_file(s.c, s.dialogs, s.server.url("__slow/200000"), target, nullptr, "Slow file"));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(std::filesystem::exists(target));
}

} // namespace
} // namespace tkv
