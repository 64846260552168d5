// Printing a game of the table: the question, the printer choice, the selection window Tprint and
// the job handed to the printer (a PDF file where the pages matter).

#include <QCheckBox>
#include <QLabel>
#include <QProcess>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "support/program_folder.h"
#include "database/record_codec.h"
#include "platform/qt/desktop.h"
#include "platform/qt/ttkv_printer.h"
#include "support/modal.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "windows/ui/print_window.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

// Two printers, the second the system's current one. Jobs are kept; with pdf_path set they are
// printed into that file.
class Printers : public PrinterSystem {
  public:
    std::vector<std::string> names{"Office", "PDF"};
    std::string current = "PDF";
    bool accepts = true;
    std::string pdf_path;
    std::vector<TTKV_Printer> jobs;

    std::vector<std::string> printers() const override { return names; }
    std::string current_printer() const override { return current; }
    bool print(const TTKV_Printer& job) override {
        jobs.push_back(job);
        if (!accepts || pdf_path.empty()) return accepts;
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(QString::fromStdString(pdf_path));
        return job.Print(pdf);
    }
};

const std::vector<GAMES2_FILES_TYPE> files = {{"file://patch.zip", "1 KB", "Patch", ""}};
const std::vector<GAMES2_HOMEPAGES_TYPE> homepages = {{"http://abc.example/", "Site", ""}};

// Game 0 has every part; game 1 nothing at all; game 2 a damaged block.
struct PrintFolder {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    Printers printers;

    PrintFolder() {
        PROFILES_TYPE p;
        p.id = "pc";
        p.name = "Small games";
        p.language = "English";
        f.c.profiles.profiles.push_back(p);
        f.c.profiles.profile_index = 0;
        f.c.options.server = "http://server.example/";
        f.c.options.printer_name = "office";
        f.c.options.print_confirmation = false;
        f.c.options.selective_print = false;
        const std::string block =
            block_compress(block_encode({{0, "Cheats", "Press 1 2 3"}, {0, "Tips", "Jump"}}, files, homepages));
        f.c.db.games = {{1, "Abc\r\nAbc 2", block, 1, "Mine", {}},
                        {2, "Empty", "", 1, "", {}},
                        {3, "Broken", "not a bzip2 stream", 1, "", {}}};
    }

    void print(int game_index = 0) { u_main_printinfo(f.c, dialogs, nullptr, game_index, printers); }
    std::string body() const {
        std::string r;
        for (const std::string& line : printers.jobs.at(0).TextBody)
            r += line + "\n";
        return r;
    }
};

TEST(PrintGame, AsksFirstThenPrintsEveryPartWithHeaderAndFooter) {
    PrintFolder p;
    p.f.c.options.print_confirmation = true;
    p.f.c.db.current_game.title = "The game the information window shows";
    p.dialogs.expect_message("Printer: office\r\nFont: Courier New\r\nFont size: 10\r\n\r\nAbc", MessageAnswer::no);
    p.print();
    EXPECT_TRUE(p.printers.jobs.empty()) << "No stops the print";
    EXPECT_EQ(p.dialogs.messages.at(0).title, "Trickvault - Question");
    EXPECT_EQ(p.dialogs.messages.at(0).buttons, MessageButtons::yes_no);

    p.dialogs.expect_message("Do you really want to print", MessageAnswer::yes);
    p.print();
    ASSERT_EQ(p.printers.jobs.size(), 1u);
    const TTKV_Printer& job = p.printers.jobs[0];
    EXPECT_EQ(job.PrinterNumber, 0);
    EXPECT_EQ(job.Title, "Code: Abc");
    EXPECT_TRUE(job.WordWrap);
    EXPECT_TRUE(job.HeaderOnlyFirstPage);
    EXPECT_EQ(p.body(), "Cheats:\n-------\nPress 1 2 3\n\nTips:\n-----\nJump\n\n"
                        "Files:\n------\nName: Patch (1 KB)\nAddress: http://server.example/profiles/pc/files/patch.zip\n\n"
                        "Homepages:\n----------\nName: Site\nAddress: http://abc.example/\n\n"
                        "User information:\n-----------------\n\nMine\n\n\n<< End of information >>\n");
    ASSERT_EQ(job.TextHeader.size(), 4u);
    EXPECT_EQ(job.TextHeader[0], "Name of the game: Abc (Small games)");
    EXPECT_EQ(job.TextHeader[1].substr(0, 20), " Number of rows: 25 ");
    EXPECT_EQ(job.TextFooter, "{PAGESCOUNT} / {PAGESINDEX}. page");
    EXPECT_EQ(job.FontBody.family(), "Courier New");
    EXPECT_EQ(job.FontBody.pointSize(), 10);
    EXPECT_FALSE(job.FontBody.bold());
    EXPECT_EQ(job.FontHeader.pointSize(), 10);
    EXPECT_TRUE(job.FontHeader.bold());
    EXPECT_EQ(job.FontFooter.pointSize(), 8);
    EXPECT_EQ(p.f.c.db.current_game.title, "The game the information window shows") << "an open game stays as it is";
}

TEST(PrintGame, AConfiguredPrinterThatIsGoneGivesWayToTheCurrentOne) {
    struct Case {
        std::string configured;
        std::string current;
        int number;
        std::string option_after;
    };
    const Case cases[] = {
        {"OFFICE", "PDF", 0, "OFFICE"}, // found, ignoring letter case
        {"pdf", "Office", 1, "pdf"},
        {"Gone", "PDF", 1, "PDF"},
        {"", "Office", 0, "Office"},
        {"Gone", "", 0, "Office"}, // the system names no current printer
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.configured + " / " + c.current);
        PrintFolder p;
        p.f.c.options.printer_name = c.configured;
        p.printers.current = c.current;
        p.print();
        ASSERT_EQ(p.printers.jobs.size(), 1u);
        EXPECT_EQ(p.printers.jobs[0].PrinterNumber, c.number);
        EXPECT_EQ(p.f.c.options.printer_name, c.option_after);
    }
}

TEST(PrintGame, NothingIsPrintedWithoutPrinterOrText) {
    PrintFolder p;
    p.f.c.options.print_confirmation = true;
    p.printers.names.clear();
    p.print(); // no question either: the scripted dialogs fail on any
    EXPECT_TRUE(p.printers.jobs.empty());

    PrintFolder adding; // the information window prints a game being added as game -1
    adding.f.c.options.print_confirmation = true;
    adding.print(-1);
    adding.print(3);
    EXPECT_TRUE(adding.printers.jobs.empty());

    PrintFolder empty;
    empty.print(1);
    EXPECT_TRUE(empty.printers.jobs.empty()) << "a game without any text";

    PrintFolder broken;
    broken.dialogs.expect_message("error -", MessageAnswer::ok);
    broken.print(2);
    EXPECT_TRUE(broken.printers.jobs.empty());
    EXPECT_EQ(broken.dialogs.messages.at(0).icon, MessageIcon::error);
}

TEST(PrintGame, AJobThePrinterRefusesIsReported) {
    PrintFolder p;
    p.printers.accepts = false;
    p.dialogs.expect_message("The followin printer is not supported by the program:\r\n\r\noffice", MessageAnswer::ok);
    p.print();
    EXPECT_EQ(p.dialogs.messages.at(0).title, "Trickvault - Error!");
}

TEST(PrintGame, TheSelectionWindowChoosesThePartsAndMaySaveThem) {
    for (const bool save : {false, true}) {
        SCOPED_TRACE(save);
        PrintFolder p;
        p.f.c.options.selective_print = true;
        test::when_modal_opens("Tprint", [save](QDialog* w) {
            auto* list = w->findChild<TTKV_ListBox*>("ls_infos");
            list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Deselect);
            w->findChild<QCheckBox*>("ck_homepages")->setChecked(false);
            w->findChild<QCheckBox*>("ck_saveasdefault")->setChecked(save);
            QTest::mouseClick(w->findChild<QPushButton*>("btc_ok"), Qt::LeftButton);
        });
        p.print();
        ASSERT_EQ(p.printers.jobs.size(), 1u);
        const std::string body = p.body();
        EXPECT_EQ(body.find("Cheats:"), std::string::npos);
        EXPECT_NE(body.find("Tips:"), std::string::npos);
        EXPECT_NE(body.find("Files:"), std::string::npos);
        EXPECT_EQ(body.find("Homepages:"), std::string::npos);
        EXPECT_NE(body.find("User information:"), std::string::npos);
        EXPECT_EQ(p.f.c.options.print_selection, save ? "101" : "111");
    }
}

TEST(PrintGame, LeavingTheSelectionWindowOtherwisePrintsNothing) {
    const std::vector<std::pair<const char*, std::function<void(QDialog*)>>> ways = {
        {"close box", [](QDialog* w) { w->close(); }},
        {"Escape", [](QDialog* w) { QTest::keyClick(w, Qt::Key_Escape); }},
        {"Cancel", [](QDialog* w) { QTest::mouseClick(w->findChild<QPushButton*>("btc_cancel"), Qt::LeftButton); }},
    };
    for (const auto& [way, leave] : ways) {
        SCOPED_TRACE(way);
        PrintFolder p;
        p.f.c.options.selective_print = true;
        test::when_modal_opens("Tprint", [&leave](QDialog* w) {
            w->findChild<QCheckBox*>("ck_saveasdefault")->setChecked(true);
            w->findChild<QCheckBox*>("ck_user")->setChecked(false);
            leave(w);
        });
        p.print();
        EXPECT_TRUE(p.printers.jobs.empty());
        EXPECT_EQ(p.f.c.options.print_selection, "111");
    }
}

TEST(Tprint, ShowsTheEntriesAndTheSavedChoiceForWhatTheGameHas) {
    PrintFolder p;
    p.f.c.options.print_selection = "010";
    GAMES2_TEMP_ARRAY_TYPE game;
    ASSERT_EQ(games_uncompress_data(p.f.c.db, 0, false, game), 0);
    game.homepages.clear();

    Tprint w(p.f.c, game, QPoint(400, 300));
    EXPECT_EQ(centre_of(w.geometry()), QPoint(400, 300));
    w.show();
    EXPECT_EQ(w.windowTitle(), "Trickvault - Print");
    EXPECT_EQ(w.findChild<QLabel*>("lb_print_these")->text(), "Which information to print:");
    const auto* list = w.findChild<TTKV_ListBox*>("ls_infos");
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(list->model()->index(1, 0).data().toString(), "Tips");
    EXPECT_EQ(list->selectionModel()->selectedRows().size(), 2);

    struct Box {
        const char* name;
        const char* text;
        bool checked;
        bool enabled;
    };
    const Box boxes[] = {{"ck_internet", "Files", false, true},
                         {"ck_homepages", "Homepages", true, false}, // the game has none
                         {"ck_user", "User information", false, true},
                         {"ck_saveasdefault", "&Save as default", false, true}};
    for (const Box& b : boxes) {
        SCOPED_TRACE(b.name);
        const auto* box = w.findChild<QCheckBox*>(b.name);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->text(), b.text);
        EXPECT_EQ(box->isChecked(), b.checked);
        EXPECT_EQ(box->isEnabled(), b.enabled);
    }
    EXPECT_TRUE(w.findChild<QPushButton*>("btc_ok")->isDefault());
    test::save_screen(w, "Tprint");
}

TEST(PrintGame, PrintsTheGameAsOnePdfPage) {
    PrintFolder p;
    const test::TempDir dir;
    p.printers.pdf_path = dir.path("abc.pdf");
    p.print();
    QProcess text;
    text.start("pdftotext", {"-layout", QString::fromStdString(p.printers.pdf_path), "-"});
    ASSERT_TRUE(text.waitForFinished(60000));
    const QString pages = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_EQ(pages.count('\f'), 1) << pages.toStdString();
    for (const char* shown : {"Name of the game: Abc (Small games)", "Created by: Trickvault (v3.50)", "Press 1 2 3",
                              "Address: http://server.example/profiles/pc/files/patch.zip",
                              "<< End of information >>", "1 / 1. page"})
        EXPECT_TRUE(pages.contains(shown)) << shown << "\n" << pages.toStdString();
}

} // namespace
} // namespace tkv
