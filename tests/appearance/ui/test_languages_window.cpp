// The language window over a languages/ folder with two complete language files and an incomplete
// one, driven by clicks and keys as the user would.

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <string>

#include "context/program_context.h"
#include "appearance/skin_file.h"
#include "appearance/ui/languages_window.h"
#include "support/temp_dir.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

struct LanguagesFolder {
    test::TempDir dir;
    ProgramContext c;
    LanguagesFolder() {
        // Windows ANSI texts: "\xDC" is U+00DC in both code pages, "\xF5" is o-double-acute in
        // windows-1250 (the Hungarian one) and o-tilde in windows-1252.
        dir.write("languages/Deutsch.lng", "; German\r\n"
                                           "Language=Deutsch\r\nVersion=3.50\r\nHelpFile=deutsch.hlp\r\n"
                                           "InfoFile=german\r\nMadeby Title=\xDC"
                                           "bersetzt von:\r\nMadeby=Hans\r\nEmail=hans@example.org\r\n"
                                           "1=&Gut\r\n");
        dir.write("languages/deutsch.html", "<html></html>");
        dir.write("languages/magyar.lng", "Language=Magyar\r\nVersion=1.0\r\nHelpFile=magyar.hlp\r\n"
                                          "InfoFile=hungarian\r\nMadeby Title=Ford\xEDtotta:\r\n"
                                          "Madeby=Sz\xF5ke Anna\r\nEmail=anna@example.org\r\n1=&Rendben\r\n");
        dir.write("languages/broken.lng", "Language=Aaa\r\nVersion=1\r\nHelpFile=a.hlp\r\nInfoFile=a\r\n"
                                          "Madeby=Nobody\r\n1=&Broken\r\n"); // no Email
        context_initialize(c, dir.folder());
        c.skin_default = skins_setdefault({});
        c.skin_current = c.skin_default;
    }
    std::string languages() const { return dir.folder() + "languages/"; }
};

struct Controls {
    TTKV_ListBox* list;
    QPushButton* select;
    QLabel* maker_title;
    QPlainTextEdit* maker;
    explicit Controls(Tlanguages& w)
        : list(w.findChild<TTKV_ListBox*>("ls_languages")), select(w.findChild<QPushButton*>("btc_select")),
          maker_title(w.findChild<QLabel*>("lb_maker")), maker(w.findChild<QPlainTextEdit*>("me_maker")) {
        if (!list || !select || !maker_title || !maker) ADD_FAILURE() << "a control is missing";
    }
    QStringList rows() const {
        QStringList r;
        for (int i = 0; i < list->model()->rowCount(); ++i)
            r << list->model()->index(i, 0).data().toString();
        return r;
    }
    int current() const { return list->currentIndex().row(); }
    void click_row(int row) const {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(row, 0)).center());
    }
    QStringList maker_lines() const {
        QStringList lines;
        for (QTextBlock b = maker->document()->begin(); b.isValid(); b = b.next())
            lines << b.text();
        return lines;
    }
};

TEST(Tlanguages, ListsTheBuiltInRowFirstThenTheCompleteFilesByName) {
    LanguagesFolder f;
    Tlanguages w(f.c);
    w.show();
    Controls k(w);
    EXPECT_EQ(k.rows(), QStringList({"English  (Built-in)", "Deutsch  (deutsch.lng / v3.50)",
                                     "Magyar  (magyar.lng / v1.0)"}));
    EXPECT_EQ(w.windowTitle(), "Trickvault (v3.50)");
    EXPECT_EQ(w.findChild<QWidget*>("client")->size(), QSize(281, 225));
}

TEST(Tlanguages, PreselectsTheConfiguredLanguage) {
    struct {
        bool internal;
        const char* file;
        int row;
    } const cases[] = {
        {true, "", 0},          {true, "magyar.lng", 0}, {false, "magyar.lng", 2}, {false, "deutsch.lng", 1},
        {false, "gone.lng", 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::string(k.file) + (k.internal ? " internal" : ""));
        LanguagesFolder f;
        f.c.options.use_internal_language = k.internal;
        f.c.options.language_file = k.file;
        Tlanguages w(f.c);
        w.show();
        Controls controls(w);
        EXPECT_EQ(controls.current(), k.row);
        EXPECT_EQ(controls.select->text(), QStringList({"English", "Deutsch", "Magyar"})[k.row]);
    }
}

TEST(Tlanguages, ClickingARowShowsItsLanguageAndTranslatorInItsCodePage) {
    LanguagesFolder f;
    Tlanguages w(f.c);
    w.show();
    Controls k(w);
    k.click_row(2);
    EXPECT_EQ(k.current(), 2);
    EXPECT_EQ(k.select->text(), "Magyar");
    EXPECT_EQ(k.maker_title->text(), QString::fromUtf8("Ford\u00edtotta:"));
    EXPECT_EQ(k.maker_lines(), QStringList({QString::fromUtf8("Sz\u0151ke Anna"), "anna@example.org"}));
    k.click_row(0);
    EXPECT_EQ(k.select->text(), "English");
    EXPECT_EQ(k.maker_title->text(), "Translated by:");
    EXPECT_TRUE(w.isVisible()); // a click only chooses
}

TEST(Tlanguages, SelectingAppliesTheLanguageAndCloses) {
    enum class How { button, enter, double_click };
    struct {
        int row;
        How how;
        const char* caption_1;
        bool internal;
        const char* language_file;
        const char* help_file;
        const char* info_file;
        CodePage code_page;
    } const cases[] = {
        // The file's name as it is on disk: another case names another file here.
        {1, How::button, "&Gut", false, "Deutsch.lng", "deutsch.html", "german", CodePage::windows_1252},
        {2, How::enter, "&Rendben", false, "magyar.lng", "english.html", "hungarian", CodePage::windows_1250},
        {0, How::double_click, "&Ok", true, "", "english.html", "default", CodePage::windows_1252},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.row);
        LanguagesFolder f;
        // Another language is in use, so every value has to change.
        f.c.options.use_internal_language = !k.internal;
        f.c.options.language_file = k.internal ? "magyar.lng" : "";
        if (k.internal) languages_load(f.c.CAPTIONS, f.languages(), "magyar.lng");
        f.c.language.code_page = k.internal ? CodePage::windows_1250 : CodePage::windows_1252;
        f.c.language.info_file = k.internal ? "hungarian" : "default";

        Tlanguages w(f.c);
        w.show();
        Controls controls(w);
        controls.click_row(k.row);
        const QPoint row_centre = controls.list->visualRect(controls.list->model()->index(k.row, 0)).center();
        switch (k.how) {
        case How::button:
            QTest::mouseClick(controls.select, Qt::LeftButton);
            break;
        case How::enter:
            QTest::keyClick(&w, Qt::Key_Return);
            break;
        case How::double_click:
            QTest::mouseDClick(controls.list->viewport(), Qt::LeftButton, {}, row_centre);
            break;
        }
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(w.result(), QDialog::Accepted);
        EXPECT_EQ(f.c.CAPTIONS[1], k.caption_1);
        EXPECT_EQ(f.c.options.use_internal_language, k.internal);
        EXPECT_EQ(f.c.options.language_file, k.language_file);
        EXPECT_EQ(f.c.language.help_path, f.languages() + k.help_file);
        EXPECT_EQ(f.c.language.info_file, k.info_file);
        EXPECT_EQ(f.c.language.code_page, k.code_page);
    }
}

TEST(Tlanguages, CannotBeClosedWithoutAChoice) {
    LanguagesFolder f;
    f.c.options.use_internal_language = false;
    f.c.options.language_file = "magyar.lng";
    Tlanguages w(f.c);
    w.show();
    Controls k(w);
    k.click_row(1);
    EXPECT_FALSE(w.close());
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(f.c.options.language_file, "magyar.lng");
    EXPECT_EQ(f.c.CAPTIONS[1], "&Ok");

    QTest::mouseClick(k.select, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.c.options.language_file, "Deutsch.lng");
}

} // namespace
} // namespace tkv
