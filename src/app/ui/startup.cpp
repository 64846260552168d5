#include "app/ui/startup.h"

#include "appearance/ui/languages_window.h"
#include "platform/connection.h"
#include "platform/qt/desktop.h"
#include "shell/folders.h"
#include "shell/text.h"
#include "tasks/ui/progress_window.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>

namespace tkv {

namespace {

SkinColor skin_colour(const QColor& c) {
    return skin_rgb(c.red(), c.green(), c.blue());
}

} // namespace

Tstartup::Tstartup(ProgramContext& context, Dialogs& dialogs, BrowsingWindows windows)
    : context_(context), dialogs_(dialogs), browsing_(std::move(windows)) {
    tm_stats_.setInterval(30000);
    QObject::connect(&tm_stats_, &QTimer::timeout,
                     [this] { stats_day_change(context_.variables.stats, current_datetime()); });
    tm_stats_.start();
}

double Tstartup::screen_scale() {
    return tkv::screen_scale();
}

SystemTitleColors Tstartup::system_title_colors() {
    const QPalette p = QApplication::palette();
    const SkinColor active = skin_colour(p.color(QPalette::Active, QPalette::Highlight));
    const SkinColor inactive = skin_colour(p.color(QPalette::Inactive, QPalette::Mid));
    return {active,
            inactive,
            active,
            inactive,
            skin_colour(p.color(QPalette::Active, QPalette::HighlightedText)),
            skin_colour(p.color(QPalette::Inactive, QPalette::WindowText)),
            false};
}

bool Tstartup::connection_present() {
    return internet_connection_present();
}

void Tstartup::show_languages() {
    Tlanguages(context_).exec();
}

void Tstartup::show_upgrade_notes() {
    if (browsing_.upgrade_notes) browsing_.upgrade_notes();
}

void Tstartup::show_version_check() {
    if (browsing_.version_check) browsing_.version_check();
}

void Tstartup::show_first_settings() {
    if (browsing_.first_settings) browsing_.first_settings();
}

void Tstartup::show_donate() {
    if (browsing_.donate) browsing_.donate();
}

void Tstartup::show_main() {
    if (browsing_.main) browsing_.main();
}
void Tstartup::show_manager() {
    if (browsing_.manager) browsing_.manager();
}

void Tstartup::unzip(UNZIP_REQUEST& request) {
    Tprogress::run(context_, dialogs_, {Task::unzip_file, screen_centre(), {}, &request, nullptr, {}});
}

void Tstartup::search_skins(SkinTable& table) {
    if (context_.options.show_skin_loading)
        Tprogress::run(context_, dialogs_, {Task::search_skins, screen_centre(), {}, nullptr, &table, {}});
    else
        skins_search_hidden(table, skins_folder(context_.variables), context_.skin_default);
}

void Tstartup::set_fonts() {
    skin_fonts_follow(context_.installed_fonts, context_.skin_current);
}

void Tstartup::register_filetypes() {
    register_program_filetypes();
}

} // namespace tkv
