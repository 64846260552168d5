#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/single_instance.h"
#include "shell/manual.h"

#include "support/temp_dir.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tkv {
namespace {

using test::TempDir;

// ---- texts ----------------------------------------------------------------------------------------

TEST(QtText, CodePagesMeetQStringOnlyHere) {
    const QString hungarian = QString::fromUtf8("őű€");
    EXPECT_EQ(qt_text("\xF5\xFB\x80", CodePage::windows_1250), hungarian);
    EXPECT_EQ(from_qt(hungarian, CodePage::windows_1250), "\xF5\xFB\x80");
    EXPECT_EQ(from_qt(hungarian, CodePage::windows_1252), "??\x80"); // 1252 has no ő or ű
    EXPECT_EQ(qt_text("\xF5", CodePage::windows_1252), QString::fromUtf8("õ"));
    EXPECT_EQ(utf8_of(qt_utf8("Größe \xE2\x9C\x93")), "Größe \xE2\x9C\x93");
}

// ---- dialogs --------------------------------------------------------------------------------------

// Runs `answer` on the modal window of type W once it is shown; a real dialog blocks until then.
template <class W> void when_shown(std::function<void(W*)> answer) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        auto* w = qobject_cast<W*>(QApplication::activeModalWidget());
        if (!w || !w->isVisible()) return;
        timer->deleteLater();
        timer->stop();
        answer(w);
    });
    timer->start();
}

TEST(QtDialogs, MessageBoxesShowTheRequestAndReturnTheAnswer) {
    using B = MessageButtons;
    using A = MessageAnswer;
    const struct {
        B buttons;
        std::optional<A> default_answer;
        std::function<void(QMessageBox*)> user;
        A expected;
    } cases[] = {
        {B::yes_no, A::no, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, A::no},
        {B::yes_no, A::yes, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, A::yes},
        {B::yes_no, std::nullopt, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, A::no},
        {B::ok_cancel, std::nullopt, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }, A::cancel},
        {B::ok, std::nullopt, [](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, A::ok},
        {B::abort_retry_ignore, std::nullopt, [](QMessageBox* b) { b->button(QMessageBox::Retry)->click(); },
         A::retry},
    };
    QtDialogs dialogs;
    for (const auto& c : cases) {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int button_count = 0;
        when_shown<QMessageBox>([&](QMessageBox* box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            button_count = static_cast<int>(box->buttons().size());
            c.user(box);
        });
        const A got = dialogs.message({"Trickvault - Question", "Delete <b>Doom</b>?\nReally?",
                                       MessageIcon::question, c.buttons, c.default_answer});
        EXPECT_EQ(got, c.expected) << static_cast<int>(c.buttons);
        EXPECT_EQ(title, "Trickvault - Question");
        EXPECT_EQ(text, "Delete <b>Doom</b>?\nReally?");
        EXPECT_EQ(icon, QMessageBox::Question);
        EXPECT_EQ(button_count, c.buttons == B::ok ? 1 : c.buttons == B::abort_retry_ignore ? 3 : 2);
    }
}

void type_name_and_accept(QFileDialog* dialog, const QString& name) {
    dialog->findChild<QLineEdit*>("fileNameEdit")->setText(name);
    static_cast<QDialog*>(dialog)->accept();
}

FileDialogRequest save_request(const TempDir& dir) {
    return {"Save game", dir.folder(), "",  {{"Text file (*.txt)", "*.txt"}, {"Web page", "*.htm;*.html"}},
            1,           "txt",        true, {}};
}

TEST(QtDialogs, SaveDialogOffersTheFiltersAndAddsTheDefaultExtension) {
    TempDir dir;
    QtDialogs dialogs;
    QString title;
    QStringList filters;
    when_shown<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        filters = d->nameFilters();
        EXPECT_TRUE(d->selectedNameFilter().startsWith("Text file"));
        type_name_and_accept(d, "notes");
    });
    auto saved = dialogs.save_file(save_request(dir));
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, dir.path("notes.txt"));
    EXPECT_EQ(saved->filter_index, 1);
    EXPECT_EQ(title, "Save game");
    EXPECT_EQ(filters, QStringList({"Text file (*.txt) (*.txt)", "Web page (*.htm *.html)"}));

    auto request = save_request(dir);
    request.filter_index = 2;
    QString preselected;
    when_shown<QFileDialog>([&](QFileDialog* d) {
        preselected = d->selectedNameFilter();
        d->selectNameFilter(filters.value(0)); // the user switches back to the first filter
        type_name_and_accept(d, "page.html");
    });
    saved = dialogs.save_file(request);
    ASSERT_TRUE(saved);
    EXPECT_TRUE(preselected.startsWith("Web page")) << preselected.toStdString();
    EXPECT_EQ(saved->path, dir.path("page.html"));
    EXPECT_EQ(saved->filter_index, 1);

    // With an extension per filter, a typed name takes the one of the filter chosen last.
    request = save_request(dir);
    request.filter_extensions = {"txt", "html"};
    when_shown<QFileDialog>([&](QFileDialog* d) {
        auto* types = d->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        QTest::keyClick(types, Qt::Key_Down); // the user picks the second type
        type_name_and_accept(d, "page");
    });
    saved = dialogs.save_file(request);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->path, dir.path("page.html"));
    EXPECT_EQ(saved->filter_index, 2);

    when_shown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs.save_file(save_request(dir)));
}

TEST(QtDialogs, SaveDialogAsksBeforeReplacingOnlyWhenTold) {
    TempDir dir;
    dir.write("notes.txt", "old");
    QtDialogs dialogs;
    for (bool confirm : {true, false}) {
        bool asked = false;
        when_shown<QFileDialog>([&](QFileDialog* d) {
            if (confirm) {
                when_shown<QMessageBox>([&](QMessageBox* box) {
                    asked = true;
                    box->button(QMessageBox::Yes)->click();
                });
            }
            type_name_and_accept(d, "notes.txt");
        });
        auto request = save_request(dir);
        request.confirm_overwrite = confirm;
        auto saved = dialogs.save_file(request);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->path, dir.path("notes.txt"));
        EXPECT_EQ(asked, confirm);
    }
}

TEST(QtDialogs, OpenDialogReturnsThePreselectedFile) {
    TempDir dir;
    const std::string file = dir.write("pack.tkvs", "PK");
    QtDialogs dialogs;
    when_shown<QFileDialog>([](QFileDialog* d) {
        EXPECT_EQ(d->acceptMode(), QFileDialog::AcceptOpen);
        static_cast<QDialog*>(d)->accept();
    });
    auto opened =
        dialogs.open_file({"Open skin", dir.folder(), "pack.tkvs", {{"Skins", "*.tkvs"}}, 1, "", true, {}});
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->path, file);
    EXPECT_EQ(opened->filter_index, 1);
}

TEST(QtDialogs, FolderDialogReturnsTheChosenFolder) {
    TempDir dir;
    QtDialogs dialogs;
    QString title;
    when_shown<QFileDialog>([&](QFileDialog* d) {
        title = d->windowTitle();
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_EQ(dialogs.choose_folder("Select a directory", dir.folder()),
              QDir::cleanPath(dir.path("").c_str()).toStdString());
    EXPECT_EQ(title, "Select a directory");
    when_shown<QFileDialog>([](QFileDialog* d) { d->reject(); });
    EXPECT_FALSE(dialogs.choose_folder("Select a directory", dir.folder()));
}

TEST(QtDialogs, FontDialogReturnsTheFontAndCanOfferFixedPitchOnly) {
    QString proportional;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isFixedPitch(family) && QFontDatabase::styles(family).contains("Bold Italic"))
            proportional = family;
    ASSERT_FALSE(proportional.isEmpty());
    QtDialogs dialogs;

    when_shown<QFontDialog>([](QFontDialog* d) { d->accept(); });
    auto chosen = dialogs.choose_font("Information font", {utf8_of(proportional), 13, 1 | 2 | 4, false});
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->family, utf8_of(proportional));
    EXPECT_EQ(chosen->size, 13);
    EXPECT_EQ(chosen->style, 1 | 2 | 4);

    QString title;
    when_shown<QFontDialog>([&](QFontDialog* d) {
        title = d->windowTitle();
        static_cast<QDialog*>(d)->accept();
    });
    chosen = dialogs.choose_font("Printer font", {utf8_of(proportional), 10, 0, true});
    ASSERT_TRUE(chosen);
    EXPECT_TRUE(QFontDatabase::isFixedPitch(qt_utf8(chosen->family))) << chosen->family;
    EXPECT_TRUE(chosen->fixed_pitch_only);
    EXPECT_EQ(title, "Printer font");
}

// ---- desktop --------------------------------------------------------------------------------------

class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

TEST(Desktop, AddressesAndLocalPathsReachTheDesktopAsUrls) {
    UrlRecorder recorder;
    const QStringList schemes = {"file", "http", "https", "mailto"};
    for (const QString& s : schemes)
        QDesktopServices::setUrlHandler(s, &recorder, "open");
    const struct {
        std::string address;
        QUrl expected;
    } cases[] = {
        {"/home/me/Trick Vault/profiles/pc/files/#1 fix?.zip",
         QUrl::fromLocalFile("/home/me/Trick Vault/profiles/pc/files/#1 fix?.zip")},
        {"https://example.org/cheats?game=doom#top", QUrl("https://example.org/cheats?game=doom#top")},
        {"www.example.org", QUrl("http://www.example.org")},
        {"mailto:someone@example.org", QUrl("mailto:someone@example.org")},
    };
    for (const auto& c : cases) {
        recorder.opened.clear();
        EXPECT_TRUE(open_address(c.address));
        EXPECT_EQ(recorder.opened, QList<QUrl>{c.expected}) << c.address;
    }
    for (const QString& s : schemes)
        QDesktopServices::unsetUrlHandler(s);
}

TEST(Desktop, LaunchedProgramGetsItsWordsAndFolder) {
    TempDir dir;
    const std::string out = dir.path("out.txt");
    const std::string program =
        dir.write("My Game/run game.sh", "#!/bin/sh\n{ pwd; for a; do echo \"[$a]\"; done; } > '" + out +
                                             "'.part\n"
                                             "mv '" +
                                             out + "'.part '" + out + "'\n");
    QFile::setPermissions(QString::fromStdString(program), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const std::string work = dir.path("work");
    QDir().mkpath(QString::fromStdString(work));
    const struct {
        std::string folder;
        std::string expected_folder;
    } cases[] = {{work, work}, {"", dir.path("My Game")}};
    for (const auto& c : cases) {
        QFile::remove(QString::fromStdString(out));
        ASSERT_TRUE(launch_program(program, "-level 'E1 M1' \"say \\\"hi\\\"\" $HOME", c.folder));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(QString::fromStdString(out)); }, 5000));
        EXPECT_EQ(TempDir::read_file(out),
                  c.expected_folder + "\n[-level]\n[E1 M1]\n[say \"hi\"]\n[$HOME]\n");
    }
    EXPECT_FALSE(launch_program(dir.path("missing"), "", ""));
}

// ---- single instance ------------------------------------------------------------------------------

QString unique_name() {
    return QStringLiteral("tkv-test-%1-%2").arg(::getpid()).arg(::rand());
}

// What another process with the same name gets. It ends as a crash would, leaving its lock file.
bool acquired_in_child(const QString& name) {
    const pid_t child = ::fork();
    if (child == 0) {
        SingleInstance other(name);
        ::_exit(other.acquired() ? 1 : 0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds) {
    const QString name = unique_name();
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.acquired());
        EXPECT_FALSE(SingleInstance(name).acquired());
        EXPECT_FALSE(acquired_in_child(name));
        // A copy that runs for hours still holds the lock.
        const QString lock =
            QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) + "/" + name + ".lock";
        ASSERT_TRUE(QFile::exists(lock));
        QFile file(lock);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3 * 3600),
                                     QFileDevice::FileModificationTime));
        file.close();
        EXPECT_FALSE(acquired_in_child(name));
        EXPECT_TRUE(SingleInstance(name + "-other").acquired());
    }
    EXPECT_TRUE(SingleInstance(name).acquired());
}

TEST(SingleInstance, LockOfACrashedCopyIsTakenOver) {
    const QString name = unique_name();
    ASSERT_TRUE(acquired_in_child(name));
    EXPECT_TRUE(SingleInstance(name).acquired());
}

// ---- help -----------------------------------------------------------------------------------------

const std::string english_help = TKV_TEST_DATA "/../../data/help/english.html";

QTextBrowser* help_browser(QWidget& parent) {
    return parent.findChild<QTextBrowser*>("help_browser");
}

template <typename W> W* help_widget(QWidget& parent, const char* name) {
    return parent.findChild<W*>(name);
}

QString page_of(QTextBrowser* browser) {
    return QFileInfo(browser->source().toLocalFile()).fileName();
}

bool has_anchor(QTextDocument* doc, const QString& anchor) {
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        if (b.charFormat().anchorNames().contains(anchor)) return true;
        for (auto f = b.begin(); !f.atEnd(); ++f)
            if (f.fragment().charFormat().anchorNames().contains(anchor)) return true;
    }
    return false;
}

TEST(Help, F1ShowsEveryTopicOfTheEnglishHelp) {
    QWidget window;
    window.show();
    for (int topic :
         {10500, 10502, 10503, 10504, 10506, 10507, 10508, 10511, 10512, 10513, 10514, 10515, 10516, 10520}) {
        ASSERT_TRUE(help_topic_target(topic)) << topic; // the numbers older help files know
        checkhelp(Qt::Key_F1, static_cast<help::Topic>(topic), english_help, &window);
        QTextBrowser* browser = help_browser(window);
        ASSERT_TRUE(browser);
        EXPECT_TRUE(browser->window()->isVisible());
        EXPECT_EQ(browser->source().fragment(), QStringLiteral("topic-%1").arg(topic));
        EXPECT_TRUE(has_anchor(browser->document(), QStringLiteral("topic-%1").arg(topic))) << topic;
    }
    EXPECT_EQ(window.findChildren<QTextBrowser*>().size(), 1);
}

// A translation's help may be one page without a manual folder: F1 scrolls to the topic's anchor.
TEST(Help, ScrollsToTheTopicAndReadsHlpNamesAsHtml) {
    TempDir dir;
    std::string page = "<html><body><h2 id=\"topic-10500\">Welcome</h2>";
    for (int i = 0; i < 200; ++i) page += "<p>line " + std::to_string(i) + "</p>";
    const std::string single_help = dir.write("magyar.html", page + "<h2 id=\"topic-10520\">Printing</h2></body></html>");
    QWidget window;
    window.show();
    checkhelp(Qt::Key_F1, help::first_start, single_help, &window);
    QTextBrowser* browser = help_browser(window);
    QApplication::processEvents();
    const int first = browser->verticalScrollBar()->value();
    std::string hlp = single_help;
    hlp.replace(hlp.size() - 4, 4, "hlp");
    checkhelp(Qt::Key_F1, help::print_window, hlp, &window);
    QApplication::processEvents();
    EXPECT_GT(browser->verticalScrollBar()->value(), first);
    EXPECT_TRUE(browser->toPlainText().contains("Printing"));
    EXPECT_FALSE(help_widget<QTreeWidget>(window, "help_contents")->isVisible()); // no manual to list
}

TEST(Help, OtherKeysDoNothingAndAMissingFileSaysSo) {
    QWidget window;
    window.show();
    checkhelp(Qt::Key_F2, help::main_window, english_help, &window);
    checkhelp(Qt::Key_1, help::main_window, english_help, &window);
    EXPECT_FALSE(help_browser(window));

    checkhelp(Qt::Key_F1, help::main_window, english_help, &window);
    ASSERT_TRUE(help_browser(window));
    TempDir dir;
    checkhelp(Qt::Key_F1, help::main_window, dir.path("magyar.html"), &window);
    EXPECT_TRUE(help_browser(window)->toPlainText().startsWith("Help is not available."));

    checkhelp(Qt::Key_F1, help::main_window, english_help, &window); // the file is shown again, not the note
    EXPECT_TRUE(help_browser(window)->toPlainText().contains("The main window"));
}

TEST(Help, OneHelpWindowFollowsTheWindowThatAsks) {
    QWidget main_window;
    main_window.show();
    checkhelp(Qt::Key_F1, help::main_window, english_help, &main_window);
    QWidget* help = help_browser(main_window)->window();
    QWidget info_window;
    info_window.show();
    checkhelp(Qt::Key_F1, help::info_window, english_help, &info_window);
    EXPECT_EQ(help_browser(info_window)->window(), help);
    EXPECT_FALSE(help_browser(main_window));
    EXPECT_TRUE(help->isVisible());
}

TEST(Help, OpensCentredOverItsOpenerAndEscapeOrCtrlWCloseIt) {
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    QWidget opener;
    opener.setGeometry(
        QRect(area.left() + area.width() / 2 - 150, area.top() + area.height() / 2 - 80, 300, 160));
    opener.show();
    struct Key {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Key k : {Key{Qt::Key_Escape, Qt::NoModifier}, Key{Qt::Key_W, Qt::ControlModifier}}) {
        checkhelp(Qt::Key_F1, help::main_window, english_help, &opener);
        QPointer<QTextBrowser> browser = help_browser(opener);
        ASSERT_TRUE(browser);
        QPointer<QWidget> help = browser->window();
        ASSERT_TRUE(help->isVisible());
        const QPoint centre = help->frameGeometry().center(), wanted = opener.frameGeometry().center();
        EXPECT_LE((centre - wanted).manhattanLength(), 6)
            << centre.x() << "," << centre.y(); // frames may differ by a pixel or two

        QTest::keyClick(browser, k.key, k.modifiers);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(!help || !help->isVisible()) << k.key;
    }
    // A window near the screen's edge: the help stays on the screen, its title bar reachable.
    opener.move(area.topLeft());
    checkhelp(Qt::Key_F1, help::main_window, english_help, &opener);
    const QRect help = help_browser(opener)->window()->frameGeometry();
    EXPECT_GE(help.top(), area.top());
    EXPECT_GE(help.left(), area.left());
}

TEST(Help, EveryTopicOpensItsManualPageWithTheContentsBeside) {
    QWidget window;
    window.show();
    for (const HelpTopicPage& t : help_topic_pages) {
        checkhelp(Qt::Key_F1, t.topic, english_help, &window);
        QTextBrowser* browser = help_browser(window);
        EXPECT_EQ(page_of(browser).toStdString(), t.page);
        EXPECT_TRUE(has_anchor(browser->document(), QString::fromStdString(help_anchor(t.topic)))) << t.topic;
    }
    auto* contents = help_widget<QTreeWidget>(window, "help_contents");
    EXPECT_TRUE(contents->isVisible());
    int items = 0;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) ++items;
    EXPECT_EQ(items, static_cast<int>(manual_contents().size()));
    EXPECT_EQ(contents->currentItem()->data(0, Qt::UserRole).toString(), page_of(help_browser(window)));
}

TEST(Help, BackAndForwardReturnToThePagesRead) {
    QWidget window;
    window.show();
    checkhelp(Qt::Key_F1, help::main_window, english_help, &window);
    auto* back = help_widget<QPushButton>(window, "help_back");
    auto* forward = help_widget<QPushButton>(window, "help_forward");
    EXPECT_FALSE(back->isEnabled());
    // A link followed in the page, then a page chosen in the contents.
    help_browser(window)->setSource(help_browser(window)->source().resolved(QUrl("information-window.html")));
    auto* contents = help_widget<QTreeWidget>(window, "help_contents");
    const auto found = contents->findItems("Printing", Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1);
    contents->setCurrentItem(found.front());
    contents->setFocus();
    QTest::keyClick(contents, Qt::Key_Return);
    EXPECT_EQ(page_of(help_browser(window)), "print.html");

    struct Step {
        QPushButton* button;
        const char* page;
        bool back_enabled, forward_enabled;
    };
    for (const Step& s : {Step{back, "information-window.html", true, true}, Step{back, "main-window.html", false, true},
                          Step{forward, "information-window.html", true, true}, Step{forward, "print.html", true, false}}) {
        s.button->click();
        EXPECT_EQ(page_of(help_browser(window)), s.page);
        EXPECT_EQ(back->isEnabled(), s.back_enabled) << s.page;
        EXPECT_EQ(forward->isEnabled(), s.forward_enabled) << s.page;
    }
}

TEST(Help, SearchListsThePagesHoldingEveryWordAndEnterOpensOne) {
    QWidget window;
    window.show();
    checkhelp(Qt::Key_F1, help::main_window, english_help, &window);
    auto* search = help_widget<QLineEdit>(window, "help_search");
    auto* results = help_widget<QListWidget>(window, "help_results");
    EXPECT_FALSE(results->isVisible());
    search->setFocus();
    QTest::keyClicks(search, "roman numerals");
    EXPECT_TRUE(results->isVisible());
    ASSERT_GE(results->count(), 1);
    EXPECT_EQ(results->item(0)->text(), "Finding games");
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(page_of(help_browser(window)), "finding-games.html");
    search->clear();
    QTest::keyClicks(search, "numerals zzzznothing");
    EXPECT_EQ(results->count(), 0);
}

TEST(Help, F1ReachesTheHelpFromAnyControlAControlDoesNotTake) {
    QDialog window;
    auto* edit = new QLineEdit(&window);
    help_on_f1(&window, help::restore_notes, english_help);
    window.show();
    QTest::keyClick(edit, Qt::Key_A);
    EXPECT_FALSE(help_browser(window));
    QTest::keyClick(edit, Qt::Key_F1);
    ASSERT_TRUE(help_browser(window));
    EXPECT_EQ(page_of(help_browser(window)), "restore-notes.html");
    EXPECT_EQ(edit->text(), "a");
}

TEST(Help, SpeaksTheLanguageItIsGivenEachTimeItOpens) {
    QWidget window;
    window.show();
    QString back = "&Zurück";
    set_help_texts([&back] {
        HelpTexts t;
        t.title = "Hilfe";
        t.back = back;
        t.not_available = "Keine Hilfe: %1";
        return t;
    });
    checkhelp(Qt::Key_F1, help::main_window, english_help, &window);
    EXPECT_EQ(help_browser(window)->window()->windowTitle(), "Hilfe");
    EXPECT_EQ(help_widget<QPushButton>(window, "help_back")->text(), "&Zurück");
    back = "&Vissza";
    checkhelp(Qt::Key_F1, help::main_window, "/nowhere/magyar.html", &window);
    EXPECT_EQ(help_widget<QPushButton>(window, "help_back")->text(), "&Vissza");
    EXPECT_EQ(help_browser(window)->toPlainText(), "Keine Hilfe: /nowhere/magyar.html");
    set_help_texts({});
}

} // namespace
} // namespace tkv

#include "test_qt_platform.moc"
