#include "tasks/ui/progress_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/skin_table.h"
#include "appearance/ui/background_picture.h"
#include "appearance/ui/builtin_pictures.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/game_list.h"
#include "database/open_database.h"
#include "database/save_task.h"
#include "platform/qt/desktop.h"
#include "platform/qt/qt_text.h"
#include "shell/backups.h"
#include "shell/files.h"
#include "shell/product.h"
#include "shell/unzip_task.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <cmath>

namespace tkv {

namespace {

// The save task's questions and messages in the task window.
class SaveUi : public SaveTaskUi {
  public:
    SaveUi(Tprogress& window, const ProgramContext& c, Dialogs& dialogs)
        : w_(window), c_(c), m_(messages_of(c, dialogs)) {}
    void set_label(const std::string& text) override { w_.set_label(qt_text(text, c_.language.code_page)); }
    void set_progress(int percent) override { w_.set_gauge_position(percent); }
    void show_error(const std::string& text) override { m_.error(to_utf8(text, c_.language.code_page)); }
    std::optional<std::string> ask_save_path(const std::string& file_name, const std::string& title,
                                             const std::string& filter) override {
        FileDialogRequest r;
        r.title = to_utf8(title, c_.language.code_page);
        r.file_name = file_name;
        r.filters = {{to_utf8(filter.substr(0, filter.find('|')), c_.language.code_page), "*.dat"}};
        r.default_extension = "dat";
        const auto chosen = m_.dialogs().save_file(r);
        if (!chosen) return std::nullopt;
        return chosen->path;
    }
    void show_success(const std::string& text, int wait_ms) override {
        w_.alp_progress()->hide();
        QLabel* label = w_.lb_progress();
        label->setWordWrap(true);
        label->setGeometry(label->x(), 0, label->width(), label->parentWidget()->height());
        label->setText(qt_text(text, c_.language.code_page));
        QElapsedTimer shown;
        shown.start();
        do
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        while (shown.elapsed() < wait_ms);
    }

  private:
    Tprogress& w_;
    const ProgramContext& c_;
    Messages m_;
};

// The unzip task's questions and messages.
class UnzipWindowUi : public UnzipUi {
  public:
    UnzipWindowUi(Tprogress& window, const ProgramContext& c, Dialogs& dialogs, const std::string& archive)
        : w_(window), m_(messages_of(c, dialogs)), archive_(archive) {}
    void set_progress(int percent) override { w_.report_progress(percent); }
    bool ask_overwrite() override {
        return m_.ask(m_.text(caption_slot::unpack_overwrite_question), caption_slot::attention_title,
                      MessageIcon::warning, MessageButtons::yes_no) == MessageAnswer::yes;
    }
    bool ask_delete_archive(bool unpacked) override {
        return m_.ask(m_.text(unpacked ? caption_slot::unpack_done_delete_question
                                       : caption_slot::unpack_failed_delete_question,
                              {archive_}),
                      caption_slot::error_title, unpacked ? MessageIcon::question : MessageIcon::error,
                      MessageButtons::yes_no) == MessageAnswer::yes;
    }
    void report_deletion(bool deleted) override {
        if (deleted)
            m_.information(m_.text(caption_slot::unpack_deleted, {archive_}));
        else
            m_.error(m_.text(caption_slot::unpack_delete_failed, {archive_}));
    }

  private:
    Tprogress& w_;
    Messages m_;
    std::string archive_;
};

} // namespace

Tprogress::Tprogress(ProgramContext& context, Dialogs& dialogs, TaskRequest request, QWidget* parent)
    : QDialog(parent), context_(context), dialogs_(dialogs), request_(std::move(request)),
      progress_shown_(std::chrono::milliseconds(30)) {
    setObjectName("Tprogress");
    created_.start();
    splash_mode_ = request_.task == Task::show_splash_screen;
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    if (splash_mode_)
        create_splash();
    else
        create_normal();
    QTimer::singleShot(50, this, [this] { tm_closerTimer(); });
}

Tprogress::~Tprogress() = default;

bool unpack_to_staging(ProgramContext& context, Dialogs& dialogs, const std::string& archive,
                       const std::string& staging, const std::string& label_text, bool silent, QWidget* caller) {
    folder_delete_tree(staging);
    UNZIP_REQUEST request;
    request.archive = archive;
    request.target_folder = staging;
    request.file_mask = "*.*";
    request.label_text = label_text;
    request.silent = silent;
    TaskRequest task;
    task.task = Task::unzip_file;
    task.centre = centre_of(caller->window()->frameGeometry());
    task.unzip = &request;
    Tprogress::run(context, dialogs, std::move(task), caller);
    return request.unpacked;
}

void Tprogress::run(ProgramContext& context, Dialogs& dialogs, TaskRequest request, QWidget* parent) {
    Tprogress window(context, dialogs, std::move(request), parent);
    window.exec();
}

void Tprogress::create_normal() {
    skin_ = std::make_unique<WindowSkin>(this, context_.options.custom_title_bar_active);
    if (skin_->title_bar()) skin_->title_bar()->setButtonsVisible(false);
    QWidget* client = skin_->client();
    const double s = context_.screen_scale;
    setWindowTitle(qt_text(caption_format(context_.CAPTIONS[caption_slot::task_title], {product_name}),
                           context_.language.code_page));
    lb_progress_ = new QLabel(client);
    lb_progress_->setObjectName("lb_progress");
    lb_progress_->setGeometry(scaled(8, s), scaled(6, s), scaled(305, s), scaled(16, s));
    set_skin_class(lb_progress_, "N");
    alp_progress_ = new QProgressBar(client);
    alp_progress_->setObjectName("alp_progress");
    alp_progress_->setGeometry(scaled(8, s), scaled(28, s), scaled(305, s), scaled(20, s));
    alp_progress_->setRange(0, 100);
    alp_progress_->setTextVisible(false);
    alp_progress_->setVisible(request_.task != Task::search_skins);
    skin_->set_client_size(QSize(321, 57), s);
    move(request_.centre.x() - width() / 2, request_.centre.y() - height() / 2);
    skin_apply();
}

void Tprogress::skin_apply() {
    const SKINS_TYPE& skin = context_.skin_current;
    skin_->apply(skin, skin.window_other, skins_folder(context_.variables),
                 context_.screen_scale);
    style_progress_bar(alp_progress_, skin.progress_other);
}

void Tprogress::create_splash() {
    setWindowFlag(Qt::FramelessWindowHint, true);
    const SKINS_TYPE& current = context_.skin_current;
    const bool custom = current.splash.custom;
    const SKINS_SPLASH_TYPE& splash = custom ? current.splash : context_.skin_default.splash;
    QImage picture = builtin_splash();
    if (custom) {
        const std::string skins = skins_folder(context_.variables);
        std::string path = skin_file_path(skins, current.folder, "splash.jpg");
        if (path.empty()) path = skin_file_path(skins, current.folder, "splash.bmp");
        if (!path.empty()) picture = load_picture_file(path);
    }
    const double s = context_.screen_scale;
    im_splash_ = new QLabel(this);
    im_splash_->setObjectName("im_splash");
    im_splash_->setScaledContents(true);
    im_splash_->setPixmap(screen_pixmap(picture, im_splash_->devicePixelRatioF()));
    im_splash_->setVisible(!picture.isNull());
    const QSize size(scaled(picture.width(), s), scaled(picture.height(), s));
    im_splash_->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size.isEmpty() ? QSize(250, 290) : size);
    QPalette p = palette();
    p.setColor(QPalette::Window, qt_colour(splash.background));
    setPalette(p);
    setAutoFillBackground(true);

    const auto place = [&](QLabel* label, const SKINS_SPLASH_LABEL_TYPE& r, const char* name) {
        label->setObjectName(name);
        label->setGeometry(scaled(r.left, s), scaled(r.top, s), scaled(std::int64_t{r.right} - r.left, s),
                           scaled(std::int64_t{r.bottom} - r.top, s));
        label->setFont(skin_font(r.font_name, r.font_size, r.font_style));
        QPalette lp = label->palette();
        lp.setColor(QPalette::WindowText, qt_colour(r.font_color));
        label->setPalette(lp);
        label->setAlignment((r.alignment == 0   ? Qt::AlignLeft
                             : r.alignment == 2 ? Qt::AlignRight
                                                : Qt::AlignHCenter) |
                            Qt::AlignTop);
    };
    lb_progress_ = new QLabel(this);
    lb_version_ = new QLabel(this);
    place(lb_progress_, splash.progress_label, "lb_progress");
    place(lb_version_, splash.version_label, "lb_version");
    lb_version_->setText(qt_text(
        caption_format(context_.CAPTIONS[caption_slot::task_version_line], {product_name, product_version}),
        context_.language.code_page));
    alp_progress_ = new QProgressBar(this);
    alp_progress_->setObjectName("alp_progress");
    alp_progress_->hide();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect r = screen->geometry();
        move(r.left() + (r.width() - width()) / 2, r.top() + (r.height() - height()) / 2);
    }
}

void Tprogress::set_gauge_position(int percent) {
    if (!splash_mode_) alp_progress_->setValue(std::clamp(percent, 0, 100));
}

void Tprogress::report_progress(int percent) {
    if (!progress_shown_.due()) return;
    set_gauge_position(percent);
    QApplication::processEvents();
}

void Tprogress::set_label(const QString& text) {
    lb_progress_->setText(text);
    lb_progress_->repaint();
}

void Tprogress::tm_closerTimer() {
    run_task();
    if (splash_mode_) {
        lb_progress_->hide();
        while (created_.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
    }
    close_allowed_ = true;
    accept();
}

void Tprogress::run_task() {
    switch (request_.task) {
    case Task::show_splash_screen:
    case Task::show_normal_screen: return load_database();
    case Task::cheat_sort_and_list: return sort_and_list();
    case Task::save_allfiles: return save_allfiles();
    case Task::info_fonts: return u_progress_infoname_buildlist();
    case Task::unzip_file: return unzip();
    case Task::search_skins: return search_skins();
    case Task::database_update:
    case Task::download_skins:
    case Task::send_userfile_via_email:
        if (request_.work) request_.work(*this);
        return;
    }
}

void Tprogress::load_database() {
    PROFILES_TYPE* profile = current_profile(context_);
    if (!profile) return;
    set_label(caption_text(context_, caption_slot::task_processing));
    remove_save_leftovers(folder_of_path(context_.variables.main_dat_path), {"main.dat", "user.dat"});
    set_gauge_position(0);
    const OpenReport report =
        database_open(context_.db, context_.variables.changes, *profile, context_.variables.main_dat_path,
                      context_.variables.user_dat_path, context_.options.ignore_case,
                      [this](int percent) { report_progress(percent); });
    context_.main_file_date = report.main_file_date;
    if (main_dat_damaged(report)) {
        const Messages m = messages_of(context_, dialogs_);
        m.error(m.text(caption_slot::task_main_database_damaged,
                       {context_.variables.main_dat_path, std::to_string(main_dat_games_kept(report)),
                        std::to_string(context_.db.info_types.size())}));
    }
    if (request_.show_list) {
        set_label(caption_text(context_, caption_slot::task_listing));
        request_.show_list(*this);
    }
}

void Tprogress::sort_and_list() {
    u_progress_dat_list_build(context_.db);
    alp_progress_->hide();
    set_label(caption_text(context_, caption_slot::task_processing));
    u_progress_dat_list_sort(context_.db, context_.options.ignore_case);
    if (request_.show_list) {
        alp_progress_->show();
        set_label(caption_text(context_, caption_slot::task_listing));
        request_.show_list(*this);
    }
}

void Tprogress::save_allfiles() {
    const PROFILES_TYPE* profile = current_profile(context_);
    if (!profile) return;
    SaveUi ui(*this, context_, dialogs_);
    context_.last_save_ok =
        u_progress_dat_save(context_.db, *profile,
                            context_.variables, context_.variables.changes, context_.options,
                            context_.CAPTIONS, ui)
            .last_save_ok;
}

void Tprogress::unzip() {
    if (!request_.unzip) return;
    setWindowTitle(qt_text(caption_format(context_.CAPTIONS[caption_slot::unpack_title], {product_name}),
                           context_.language.code_page));
    set_label(qt_text(request_.unzip->label_text, context_.language.code_page));
    set_gauge_position(0);
    UnzipWindowUi ui(*this, context_, dialogs_, request_.unzip->archive);
    u_progress_unzip(*request_.unzip, ui);
}

void Tprogress::search_skins() {
    if (!request_.skins) return;
    set_label(caption_text(context_, caption_slot::task_loading_skins));
    skins_search_hidden(*request_.skins, skins_folder(context_.variables), context_.skin_default);
}

void Tprogress::u_progress_infoname_buildlist() {
    auto& fonts = context_.fixed_fonts;
    context_.fixed_fonts_built = true;
    fonts.clear();
    set_label(caption_text(context_, caption_slot::task_finding_fonts));
    set_gauge_position(0);
    const QStringList families = QFontDatabase::families();
    const auto walk = [&](bool fixed_only) {
        for (int i = 0; i < families.size(); ++i) {
            if ((!fixed_only || QFontDatabase::isFixedPitch(families[i])) && fonts.size() < 500)
                fonts.push_back(families[i].toStdString());
            set_gauge_position(
                families.size() > 1 ? static_cast<int>(std::lround(i * 100.0 / (families.size() - 1))) : 100);
        }
    };
    walk(true);
    if (fonts.empty()) walk(false);
}

void Tprogress::closeEvent(QCloseEvent* event) {
    if (close_allowed_)
        event->accept();
    else
        event->ignore();
}

void Tprogress::reject() {
    if (close_allowed_) QDialog::reject();
}

} // namespace tkv
