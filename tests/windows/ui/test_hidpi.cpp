// The main, information and options windows on screens with more pixels per inch. The program runs
// once per screen (tests/windows/ui/CMakeLists.txt): at 1x, under Qt's scaling (QT_SCALE_FACTOR), and
// at 120 dots per inch with Qt's scaling off, where the program scales its designed sizes itself.
// Each window is compared with itself opened at scale 1 in the same run; at 2x the windows are
// saved into screens/.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "support/program_folder.h"
#include "appearance/ui/builtin_pictures.h"
#include "options/ui/options_window.h"
#include "platform/qt/desktop.h"
#include "tasks/ui/progress_window.h"
#include "app/ui/startup.h"
#include "support/demo_editions.h"
#include "support/main_window.h"
#include "support/modal.h"
#include "support/options_window_hook.h"
#include "support/screens.h"
#include "support/scripted_dialogs.h"
#include "windows/ui/main_window.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_tabs.h"

namespace tkv {
namespace {

// The screen this run was started for: Qt's factor from logical to device pixels, and the factor
// left to the program (logical dots per inch / 96), which Qt leaves only with its scaling off.
struct Screen {
    double device_ratio;
    double program_scale;
};

Screen screen_of_run() {
    const double qt_factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                                 ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                                 : 1.0;
    const double dpi_factor = std::max(1.0, qEnvironmentVariableIntValue("QT_FONT_DPI") / 96.0);
    if (qEnvironmentVariable("QT_ENABLE_HIGHDPI_SCALING") == "0") return {qt_factor, dpi_factor};
    return {qt_factor * dpi_factor, 1.0};
}

// The program folder with the demo profile built from its source, opened in the main window as the
// program does, its windows sized at the given scale and drawn with the program's title bars in
// the system's colours.
struct DemoProgram {
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    std::unique_ptr<Tmain> main;

    explicit DemoProgram(double scale) {
        EXPECT_EQ(test::run_tkv(f.dir.folder(),
                                {"build", TKV_TEST_DATA "/../../data/demo", f.dir.path("profiles/demo")})
                      .code,
                  cli::exit_ok);
        f.select_profile(0);
        f.c.skin_default = skins_setdefault(Tstartup(f.c, dialogs, {}).system_title_colors());
        f.c.skin_current = f.c.skin_default;
        f.c.screen_scale = scale;
        f.c.options.custom_title_bar_active = true;
        f.c.options.auto_download_upgrade_info = false;
        f.c.options.auto_download_skin_previews = false;
        f.c.skins.searched = true;
        test::without_side_windows(f.c.options);
        MainWindowHooks hooks;
        hooks.options = test::options_window_hook(f.c, dialogs);
        main = std::make_unique<Tmain>(f.c, dialogs, std::move(hooks));
        test::show_loaded(*main);
    }
};

// Every state of the three windows, handed to look_at while it shows: the main window, the
// information window of a game on each of its tabs, the options window on each of its panels.
using LookAt = std::function<void(QWidget& window, const QString& state)>;

void visit_windows(DemoProgram& p, const LookAt& look_at) {
    look_at(*p.main, "Tmain");
    p.main->search_gamename("Doom"); // a game with texts, files and home pages
    int opened = 0;
    test::when_modal_opens("Tinfo", [&](QDialog* info) {
        ++opened;
        if (auto* tabs = info->findChild<TTKV_Tabs*>("tabs_type")) {
            for (int i = 0; i < tabs->tabs().size(); ++i) {
                tabs->setTabIndex(i);
                look_at(*info, QString("Tinfo tab %1").arg(i));
            }
        }
        info->reject();
    });
    p.main->findChild<QPushButton*>("btc_view")->click();
    test::when_modal_opens("Toption", [&](QDialog* dialog) {
        ++opened;
        if (auto* options = qobject_cast<Toption*>(dialog)) {
            for (int n = 0; n < Toption::panel_count; ++n) {
                options->u_option_tv_option_show(n);
                look_at(*options, QString("Toption panel %1").arg(n));
            }
        }
        dialog->reject();
    });
    p.main->findChild<QPushButton*>("btc_options")->click();
    EXPECT_EQ(opened, 2);
}

QWidget* client_of(QWidget& window) {
    auto* client = window.findChild<QWidget*>("client");
    if (!client) ADD_FAILURE() << window.objectName().toStdString() << " has no client area";
    return client ? client : &window;
}

QString path_of(const QWidget* w, const QWidget* top) {
    QStringList names;
    for (; w && w != top; w = w->parentWidget())
        names.prepend(w->objectName());
    return names.join('/');
}

// Where each visible control the window placed lies in its client area, by its path of names;
// "" is the client area itself. Qt's own parts of a control ("qt_..." or unnamed) are left out.
// An address label is sized to its text, which follows the font rather than the scale: only its
// centre is kept, as an empty rectangle.
using Layout = std::map<QString, QRect>;

Layout layout_of(QWidget& window) {
    QWidget* client = client_of(window);
    Layout layout{{"", QRect(QPoint(), client->size())}};
    for (QWidget* w : client->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (!w->isVisible() || name.isEmpty() || name.startsWith("qt_")) continue;
        const QRect r(w->mapTo(client, QPoint()), w->size());
        const bool address = qobject_cast<QLabel*>(w) && w->cursor().shape() == Qt::PointingHandCursor;
        layout[path_of(w, client)] = address ? QRect(centre_of(r), QSize()) : r;
    }
    return layout;
}

// Each rectangle is the designed one times the scale; every level of nesting rounds once.
void expect_proportions(const Layout& designed, const Layout& shown, double scale) {
    constexpr int rounding = 2;
    for (const auto& [path, d] : designed) {
        SCOPED_TRACE(path.toStdString());
        const auto found = shown.find(path);
        if (found == shown.end()) {
            ADD_FAILURE() << "not shown";
            continue;
        }
        const QRect& s = found->second;
        EXPECT_NEAR(s.x(), d.x() * scale, rounding);
        EXPECT_NEAR(s.y(), d.y() * scale, rounding);
        EXPECT_NEAR(s.width(), d.width() * scale, rounding);
        EXPECT_NEAR(s.height(), d.height() * scale, rounding);
    }
    for (const auto& [path, s] : shown)
        EXPECT_TRUE(designed.contains(path)) << path.toStdString() << " shown only when scaled";
}

// The width a control's text needs and the width it is drawn in; nothing for controls without a
// one-line-per-line-break text.
struct TextRoom {
    int needed;
    int room;
};

QStyleOptionButton button_option(QAbstractButton* b) {
    QStyleOptionButton o;
    o.initFrom(b);
    o.text = b->text();
    o.icon = b->icon();
    o.iconSize = b->iconSize();
    return o;
}

std::optional<TextRoom> text_room(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap() || Qt::mightBeRichText(label->text()))
            return std::nullopt;
        const int flags = label->buddy() ? Qt::TextShowMnemonic : 0;
        return TextRoom{label->fontMetrics().size(flags, label->text()).width(),
                        label->contentsRect().width() - 2 * label->margin()};
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty()) return std::nullopt;
    const int needed = button->fontMetrics().size(Qt::TextShowMnemonic, button->text()).width() +
                       (button->icon().isNull() ? 0 : button->iconSize().width() + 4);
    const QStyleOptionButton o = button_option(button);
    if (qobject_cast<QPushButton*>(button))
        return TextRoom{needed,
                        button->style()->subElementRect(QStyle::SE_PushButtonContents, &o, button).width()};
    if (qobject_cast<QCheckBox*>(button))
        return TextRoom{needed,
                        button->style()->subElementRect(QStyle::SE_CheckBoxContents, &o, button).width()};
    if (qobject_cast<QRadioButton*>(button))
        return TextRoom{needed,
                        button->style()->subElementRect(QStyle::SE_RadioButtonContents, &o, button).width()};
    return std::nullopt;
}

// Every visible control lies inside its parent and the texts of labels and buttons fit them. A
// frame ring lies around its control and may reach past the parent; the background picture is
// larger than most windows and shows its top left part.
void expect_nothing_cut_off(QWidget& window) {
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible() || w->isWindow()) continue;
        SCOPED_TRACE(path_of(w, &window).toStdString());
        if (!qobject_cast<TTKV_Frame*>(w) && w->objectName() != "im_background") {
            EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
                << "at " << w->x() << "," << w->y() << " " << w->width() << "x" << w->height() << " in "
                << w->parentWidget()->width() << "x" << w->parentWidget()->height();
        }
        if (const auto text = text_room(w)) {
            EXPECT_LE(text->needed, text->room) << "text cut off";
        }
    }
}

// The built-in skin's picture behind each window.
QImage picture_of(const QWidget& window) {
    const std::map<QString, const char*> names{
        {"Tmain", "main.bmp"}, {"Tinfo", "info.bmp"}, {"Toption", "option.bmp"}};
    return builtin_picture(names.at(window.objectName()));
}

// The label shows the picture pixel for pixel at the device pixel ratio: each device pixel shows
// the picture's pixel at its place or a neighbour of it (a blurred picture shows mixed colours).
void expect_drawn_pixel_for_pixel(QLabel& holder, const QImage& picture, const Screen& screen) {
    ASSERT_TRUE(holder.isVisible());
    const QImage drawn = holder.grab().toImage();
    ASSERT_EQ(drawn.size(), (picture.size() * screen.device_ratio));
    int mixed = 0;
    for (int y = 0; y < drawn.height(); y += 3)
        for (int x = 0; x < drawn.width(); x += 3) {
            const int px = static_cast<int>(x / screen.device_ratio);
            const int py = static_cast<int>(y / screen.device_ratio);
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx)
                    found = picture.valid(px + dx, py + dy) &&
                            picture.pixel(px + dx, py + dy) == drawn.pixel(x, y);
            mixed += !found;
        }
    EXPECT_EQ(mixed, 0) << "device pixels that show no pixel of the picture";
}

// The window is drawn at the device pixel ratio, and its background picture pixel for pixel. A
// picture the program stretched itself is left to the proportions.
void expect_sharp_pictures(QWidget& window, const Screen& screen) {
    const QPixmap shot = window.grab();
    EXPECT_DOUBLE_EQ(shot.devicePixelRatio(), screen.device_ratio);
    EXPECT_NEAR(shot.width(), window.width() * screen.device_ratio, 1);
    EXPECT_NEAR(shot.height(), window.height() * screen.device_ratio, 1);

    auto* holder = window.findChild<QLabel*>("im_background");
    ASSERT_NE(holder, nullptr);
    if (screen.program_scale == 1) expect_drawn_pixel_for_pixel(*holder, picture_of(window), screen);
}

TEST(HiDpi, TheSplashIsDrawnPixelForPixel) {
    const Screen screen = screen_of_run();
    if (screen.program_scale != 1) GTEST_SKIP() << "the program stretches the splash itself";
    test::ProgramFolder f;
    test::ScriptedDialogs dialogs;
    Tprogress splash(f.c, dialogs, {Task::show_splash_screen, {0, 0}, {}, nullptr, nullptr, {}});
    splash.show();
    auto* picture = splash.findChild<QLabel*>("im_splash");
    ASSERT_NE(picture, nullptr);
    expect_drawn_pixel_for_pixel(*picture, builtin_splash(), screen);
}

TEST(HiDpi, TheProgramScalesOnlyWhatQtLeavesToIt) {
    const Screen screen = screen_of_run();
    EXPECT_DOUBLE_EQ(screen_scale(), screen.program_scale);
    EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), screen.device_ratio);
}

TEST(HiDpi, WindowsKeepTheirProportionsTextsAndPictures) {
    const Screen screen = screen_of_run();
    std::map<QString, Layout> designed;
    {
        DemoProgram at_1x(1.0);
        visit_windows(at_1x, [&](QWidget& w, const QString& state) { designed[state] = layout_of(w); });
    }
    DemoProgram program(screen_scale());
    visit_windows(program, [&](QWidget& w, const QString& state) {
        SCOPED_TRACE(state.toStdString());
        expect_proportions(designed[state], layout_of(w), program.f.c.screen_scale);
        expect_nothing_cut_off(w);
        expect_sharp_pictures(w, screen);
        const bool first_state = state == "Tmain" || state.endsWith(" 0");
        if (screen.device_ratio == 2 && first_state)
            test::save_screen(w, w.objectName().toStdString() + "-2x");
    });
}

} // namespace
} // namespace tkv
