// The skin is checked in the window's own pixels, as the user sees it: colours of the window and of
// each kind of control, the frames, the background picture chosen by the picture rules, and the
// custom title bar.

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "appearance/skin_file.h"
#include "appearance/ui/background_picture.h"
#include "appearance/ui/builtin_pictures.h"
#include "appearance/ui/jpeg_image.h"
#include "appearance/ui/skin_apply.h"
#include "support/temp_dir.h"
#include "widgets/shade.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

namespace tkv {
namespace {

SkinColor skin_colour(const QColor& c) {
    return skin_rgb(c.red(), c.green(), c.blue());
}

bool near(const QColor& a, const QColor& b, int tolerance) {
    return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string name(const QColor& c) {
    return c.name().toStdString();
}

int count_colour(const QImage& image, const QRect& area, const QColor& c) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixelColor(x, y).rgb() == c.rgb();
    return n;
}

const QColor window_colour(0x20, 0x40, 0x60);
const QColor normal_ink(250, 200, 0);
const QColor panel_ink(0, 220, 220);
const QColor button_colour(200, 30, 30);
const QColor field_colour(30, 170, 60);

SKINS_ITEM_TYPE item(const QColor& colour, const QColor& ink) {
    return {skin_colour(colour), skin_colour(ink), "DejaVu Sans", 20, font_bold};
}

// A record whose every colour differs, so a control that takes the wrong item shows it.
SKINS_WINDOWS_TYPE test_record() {
    SKINS_WINDOWS_TYPE r;
    r.background = skin_colour(window_colour);
    r.buttons = item(button_colour, Qt::white);
    r.panels = item(QColor(90, 0, 90), Qt::white);
    r.fields = item(field_colour, QColor(10, 10, 10));
    r.labels_panel = item(QColor(0, 0, 0), panel_ink);
    r.labels_normal = item(QColor(0, 0, 0), normal_ink);
    r.title = {skin_rgb(255, 0, 0),
               skin_rgb(0, 0, 255),
               skin_rgb(0, 255, 0),
               skin_rgb(255, 255, 0),
               skin_rgb(255, 255, 255),
               skin_rgb(0, 0, 0),
               true,
               "",
               8,
               0,
               0};
    return r;
}

// A program folder with skins/<folder>/ holding the given picture files.
struct SkinFolder {
    test::TempDir dir;
    SKINS_TYPE skin = skins_setdefault({});
    explicit SkinFolder(const char* folder = "test") {
        skin.folder = folder;
        std::filesystem::create_directories(skins() + folder);
    }
    std::string skins() const { return dir.folder() + "skins/"; }
    std::string file(const std::string& name) const { return skins() + skin.folder + "/" + name; }
    void picture(const std::string& name, const QColor& c, QSize size = {538, 417}) const {
        QImage image(size, QImage::Format_RGB32);
        image.fill(c);
        const bool jpeg = name.ends_with(".jpg") || name.ends_with(".JPG");
        ASSERT_TRUE(image.save(QString::fromStdString(file(name)), jpeg ? "JPG" : "BMP")) << name;
    }
};

// A window with a skinned client area of the given designed size.
struct SkinnedWindow {
    QWidget window;
    WindowSkin skin;
    explicit SkinnedWindow(bool custom_title_bar = false) : skin(&window, custom_title_bar) {}
    QWidget* client() const { return skin.client(); }
    void apply(const SKINS_TYPE& s, const std::string& skins, double scale = 1.0,
               const std::optional<PictureNames>& pictures = std::nullopt, QSize designed = {400, 300},
               const SKINS_WINDOWS_TYPE& record = test_record()) {
        skin.set_client_size(designed, scale);
        skin.apply(s, record, skins, scale, pictures);
        window.show();
    }
    QImage client_image() const { return client()->grab().toImage(); }
};

TEST(WindowSkin, WindowAndControlsTakeTheirItemsOfTheRecord) {
    SkinFolder folder; // no pictures: the window colour shows
    SkinnedWindow w;
    const auto label = [&](const char* mark, int y) {
        auto* l = new QLabel(QString(5, QChar(0x2588)), w.client()); // full blocks: solid ink
        l->setGeometry(10, y, 200, 34);
        if (mark) set_skin_class(l, mark);
        return l;
    };
    QLabel* normal = label("N", 10);
    QLabel* framed = label("F", 50);
    QLabel* unmarked = label("X", 90);
    // The unmarked label's design look: its own font, ink and filled background.
    const QColor design_ink(255, 0, 255), design_back(120, 120, 120);
    QPalette p = unmarked->palette();
    p.setColor(QPalette::WindowText, design_ink);
    p.setColor(QPalette::Window, design_back);
    unmarked->setPalette(p);
    unmarked->setAutoFillBackground(true);
    unmarked->setFont(QFont("DejaVu Serif", 9));

    auto* button = new QPushButton(w.client());
    button->setGeometry(10, 140, 120, 30);
    auto* edit = new QLineEdit(w.client());
    edit->setFrame(false);
    edit->setGeometry(160, 140, 120, 24);
    auto* edit_frame = new TTKV_Frame(w.client());
    edit_frame->setControl(edit); // framed in its design colour before the skin comes
    auto* list = new TTKV_ListBox(w.client());
    list->setGeometry(160, 190, 120, 90);
    list->setRows({"one", "two"});

    w.apply(folder.skin, folder.skins());
    const QImage image = w.client_image();

    EXPECT_FALSE(w.skin.picture_holder()->isVisible());
    EXPECT_EQ(name(image.pixelColor(390, 5)), name(window_colour));
    EXPECT_GT(count_colour(image, normal->geometry(), normal_ink), 200);
    EXPECT_GT(count_colour(image, framed->geometry(), panel_ink), 200);
    EXPECT_GT(count_colour(image, unmarked->geometry(), design_ink), 50);
    EXPECT_EQ(count_colour(image, unmarked->geometry(), normal_ink), 0);
    EXPECT_EQ(name(image.pixelColor(unmarked->geometry().bottomRight())), name(design_back));
    EXPECT_EQ(unmarked->font().family(), "DejaVu Serif");
    EXPECT_EQ(unmarked->font().pointSize(), 9);

    // The style shades buttons, so the button's middle is only required to be clearly the
    // button colour's red; unskinned it is grey.
    const QColor middle = image.pixelColor(button->geometry().center());
    EXPECT_GT(middle.red(), middle.green() + 60) << name(middle);
    EXPECT_GT(middle.red(), middle.blue() + 60) << name(middle);

    EXPECT_EQ(name(image.pixelColor(edit->geometry().right() - 2, edit->geometry().center().y())),
              name(field_colour));
    EXPECT_EQ(name(image.pixelColor(list->geometry().center().x(), list->geometry().bottom() - 2)),
              name(field_colour)); // below the last row
    // The frame follows the field's new colour: its outer top-left line is the darkest shade.
    EXPECT_EQ(name(image.pixelColor(edit_frame->x(), edit->geometry().center().y())),
              name(shade(field_colour, -48)));
    EXPECT_EQ(name(image.pixelColor(edit->geometry().center().x(), edit_frame->y())),
              name(shade(field_colour, -48)));
}

TEST(WindowSkin, TheBuiltInSkinShowsTheWindowsOwnBuiltInPictureWithoutLookingForFiles) {
    // Pictures a file search would find; the built-in skin must not pick them up.
    test::TempDir dir;
    QImage red(538, 417, QImage::Format_RGB32);
    red.fill(Qt::red);
    for (const char* file : {"skins/main.bmp", "skins/other.bmp", "skins/main.jpg"}) {
        std::filesystem::create_directories(dir.path("skins"));
        ASSERT_TRUE(red.save(QString::fromStdString(dir.path(file)), "BMP"));
    }
    ASSERT_NE(builtin_picture("main.bmp"), builtin_picture("other.bmp"));

    const std::optional<PictureNames> windows[] = {PictureNames{"main.jpg", "main.bmp"},
                                                   PictureNames{"about.jpg", "about.bmp"}, std::nullopt};
    for (const auto& pictures : windows) {
        SCOPED_TRACE(pictures ? pictures->bmp : "no names");
        SkinnedWindow w;
        w.apply(skins_setdefault({}), dir.folder() + "skins/", 1.0, pictures, {538, 417});
        const QImage expected = builtin_picture(pictures ? pictures->bmp : "other.bmp");
        EXPECT_TRUE(w.skin.picture_holder()->isVisible());
        EXPECT_EQ(w.client_image().convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
    }
}

struct PictureCase {
    const char* what;
    std::vector<std::pair<std::string, QColor>> pictures; // files written as pictures
    std::vector<std::pair<std::string, std::string>> raw; // files written as bytes
    std::optional<PictureNames> window;
    bool holder_visible;
    QColor shown; // at the top left of the client area
};

TEST(WindowSkin, PictureRules) {
    const PictureNames main{"main.jpg", "main.bmp"};
    const PictureNames manager{"manager.jpg", "manager.bmp"};
    const QColor other(200, 100, 0), jpeg(0, 0, 240), bmp(0, 200, 0);
    const std::string garbage = "not a picture at all";
    const PictureCase cases[] = {
        {"only other.bmp: the main window", {{"other.bmp", other}}, {}, main, true, other},
        {"only other.bmp: the manager", {{"other.bmp", other}}, {}, manager, true, other},
        {"only other.bmp: a window without names", {{"other.bmp", other}}, {}, std::nullopt, true, other},
        {"names in another letter case", {{"OTHER.BMP", other}}, {}, main, true, other},
        {"main.jpg before main.bmp",
         {{"main.bmp", bmp}, {"main.jpg", jpeg}, {"other.bmp", other}},
         {},
         main,
         true,
         jpeg},
        {"main.bmp before other.jpg", {{"main.bmp", bmp}, {"other.jpg", jpeg}}, {}, main, true, bmp},
        {"undecodable main.jpg: empty, other not tried",
         {{"other.bmp", other}},
         {{"main.jpg", garbage}},
         main,
         true,
         window_colour},
        {"undecodable main.bmp: empty",
         {{"other.jpg", jpeg}},
         {{"main.bmp", garbage}},
         main,
         true,
         window_colour},
        {"no picture at all", {}, {}, main, false, window_colour},
    };
    for (const PictureCase& k : cases) {
        SCOPED_TRACE(k.what);
        SkinFolder folder;
        for (const auto& [file, colour] : k.pictures)
            folder.picture(file, colour);
        for (const auto& [file, bytes] : k.raw)
            folder.dir.write("skins/test/" + file, bytes);
        SkinnedWindow w;
        w.apply(folder.skin, folder.skins(), 1.0, k.window);
        EXPECT_EQ(w.skin.picture_holder()->isVisible(), k.holder_visible);
        const QColor seen = w.client_image().pixelColor(5, 5);
        EXPECT_TRUE(near(seen, k.shown, 6)) << name(seen) << " instead of " << name(k.shown);
    }
}

TEST(WindowSkin, TheDisplayScaleStretchesThePicture) {
    struct {
        double scale;
        QSize shown;
    } const cases[] = {{1.0, {400, 300}}, {1.25, {500, 375}}};
    const QColor picture(250, 250, 0);
    for (const auto& k : cases) {
        SCOPED_TRACE(k.scale);
        SkinFolder folder;
        folder.picture("other.bmp", picture, {400, 300});
        SkinnedWindow w;
        w.apply(folder.skin, folder.skins(), k.scale, std::nullopt, {440, 320});
        const QImage image = w.client_image();
        EXPECT_EQ(name(image.pixelColor(k.shown.width() - 1, k.shown.height() - 1)), name(picture));
        EXPECT_EQ(name(image.pixelColor(k.shown.width() + 1, k.shown.height() / 2)), name(window_colour));
        EXPECT_EQ(name(image.pixelColor(k.shown.width() / 2, k.shown.height() + 1)), name(window_colour));
    }
}

TEST(WindowSkin, CustomTitleBarIsPaintedWithTheRecordsGradient) {
    const SKINS_WINDOWS_TYPE record = test_record();
    SkinnedWindow w(true);
    w.window.setWindowTitle("Caption");
    w.apply(skins_setdefault({}), "", 1.0, std::nullopt, {300, 100});
    TitleBar* bar = w.skin.title_bar();
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(w.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.window.size(), QSize(300, 100 + bar->height()));
    EXPECT_EQ(w.client()->geometry().top(), bar->height());

    // The title bar sits at the top of the window; its ends are the gradient's two colours.
    const auto ends = [&] {
        const QImage image = w.window.grab().toImage();
        return std::pair(name(image.pixelColor(0, 1)), name(image.pixelColor(image.width() - 1, 1)));
    };
    // The buttons' signs take the caption's colour, so they show on any bar.
    const auto sign = [&] {
        return bar->findChild<QToolButton*>("title_close")->palette().color(QPalette::ButtonText);
    };
    w.window.activateWindow();
    if (QTest::qWaitForWindowActive(&w.window, 1000)) {
        EXPECT_EQ(ends(), std::pair(name(qt_colour(record.title.left_active)),
                                    name(qt_colour(record.title.right_active))));
        EXPECT_EQ(sign(), qt_colour(record.title.active_text));
    } else {
        ADD_FAILURE() << "the window could not be activated";
    }
    QWidget other;
    other.show();
    other.activateWindow();
    if (QTest::qWaitForWindowActive(&other, 1000) && !w.window.isActiveWindow()) {
        EXPECT_EQ(ends(), std::pair(name(qt_colour(record.title.left_inactive)),
                                    name(qt_colour(record.title.right_inactive))));
        EXPECT_EQ(sign(), qt_colour(record.title.inactive_text));
    } else {
        ADD_FAILURE() << "the window could not be deactivated";
    }
}

// Counts the left-button releases a label gets: the click its window reacts to.
class Clicks : public QObject {
  public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            ++count;
        return false;
    }
};

TEST(LinkLabel, TabReachesItAndEnterOrSpaceWorkItAsAClick) {
    QWidget window;
    auto* edit = new QLineEdit(&window);
    auto* link = new QLabel("info@trickvault.example", &window);
    link->move(0, 30);
    set_link_label(link);
    Clicks clicks;
    link->installEventFilter(&clicks);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), link);
    EXPECT_TRUE(link->font().underline()) << "the focused link looks as under the pointer";
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_A})
        QTest::keyClick(link, key);
    EXPECT_EQ(clicks.count, 3);
}

TEST(WindowSkin, ALargeTitleFontKeepsTheClientArea) {
    SKINS_WINDOWS_TYPE record = test_record();
    record.title.system_font = false;
    record.title.font_name = "DejaVu Sans";
    record.title.font_size = 24;
    SkinnedWindow w(true);
    w.apply(skins_setdefault({}), "", 1.0, std::nullopt, {281, 225}, record);
    const int bar = w.skin.title_bar()->height();
    EXPECT_GT(bar, 30);
    EXPECT_EQ(w.client()->size(), QSize(281, 225));
    EXPECT_EQ(w.window.size(), QSize(281, 225 + bar));
    // Back to the system's caption font when the next skin asks for it.
    w.apply(skins_setdefault({}), "", 1.0, std::nullopt, {281, 225});
    EXPECT_LT(w.skin.title_bar()->height(), bar);
    EXPECT_EQ(w.window.size(), QSize(281, 225 + w.skin.title_bar()->height()));
}

TEST(WindowSkin, WithoutCustomTitleBarsTheSystemDrawsTheTitle) {
    SkinnedWindow w(false);
    w.apply(skins_setdefault({}), "", 1.0, std::nullopt, {300, 100});
    EXPECT_EQ(w.skin.title_bar(), nullptr);
    EXPECT_TRUE(w.window.findChildren<TitleBar*>().isEmpty());
    EXPECT_FALSE(w.window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w.client()->geometry(), QRect(0, 0, 300, 100));
    EXPECT_EQ(w.window.size(), QSize(300, 100));
}

TEST(SkinFont, AMissingFaceIsNeverReplacedByASymbolFont) {
    // Some systems substitute a dingbats font for faces such as Impact.
    for (const char* face : {"Impact", "Comic Sans MS", "No Such Face"}) {
        const QString family = QFontInfo(skin_font(face, 12, 0)).family();
        EXPECT_FALSE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
            << face << " became " << family.toStdString();
    }
    // A symbol font asked for by its name is what the skin wants.
    EXPECT_EQ(skin_font("Standard Symbols PS", 12, 0).family(), "Standard Symbols PS");
}

TEST(LoadJpeg, BrokenFilesGiveANullImage) {
    test::TempDir dir;
    // A solid top half to check the colours, and noise below so most bytes are picture data.
    QImage picture(256, 192, QImage::Format_RGB32);
    picture.fill(QColor(10, 120, 200));
    std::uint32_t seed = 1;
    for (int y = 96; y < 192; ++y)
        for (int x = 0; x < 256; ++x) {
            seed = seed * 1103515245u + 12345u;
            picture.setPixel(x, y, seed >> 8);
        }
    const std::string good = dir.path("good.jpg");
    ASSERT_TRUE(picture.save(QString::fromStdString(good), "JPG"));
    const std::string bytes = test::TempDir::read_file(good);
    ASSERT_GT(bytes.size(), 10000u);

    const QImage decoded = load_jpeg(good);
    EXPECT_EQ(decoded.size(), QSize(256, 192));
    EXPECT_TRUE(near(decoded.pixelColor(30, 20), QColor(10, 120, 200), 4));

    struct {
        const char* what;
        std::string bytes;
    } const broken[] = {
        {"empty", ""},
        {"text", "this is not a jpeg"},
        {"start of image marker only", std::string("\xFF\xD8\xFF", 3)},
        {"header cut short", bytes.substr(0, 100)},
        {"picture data cut short", bytes.substr(0, bytes.size() * 3 / 4)},
        {"garbage after the header", bytes.substr(0, 20) + std::string(4000, '\x5A')},
    };
    for (const auto& k : broken) {
        SCOPED_TRACE(k.what);
        EXPECT_TRUE(load_jpeg(dir.write("broken.jpg", k.bytes)).isNull());
    }
    EXPECT_TRUE(load_jpeg(dir.path("missing.jpg")).isNull());

    // A picture far larger than any window is refused before it takes the memory.
    QImage wide(5000, 8, QImage::Format_RGB32);
    wide.fill(Qt::white);
    ASSERT_TRUE(wide.save(QString::fromStdString(dir.path("wide.jpg")), "JPG"));
    EXPECT_TRUE(load_jpeg(dir.path("wide.jpg")).isNull());
}

} // namespace
} // namespace tkv
