#include "windows/ui/print_window.h"

#include "appearance/caption_slots.h"
#include "appearance/messages.h"
#include "appearance/ui/caption_text.h"
#include "appearance/ui/skin_apply.h"
#include "context/program_context.h"
#include "database/record_codec.h"
#include "platform/qt/desktop.h"
#include "platform/qt/help_window.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/ttkv_printer.h"
#include "shell/manual.h"
#include "shell/product.h"
#include "shell/text.h"
#include "shell/text_lines.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QCheckBox>
#include <QDate>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTime>

#include <algorithm>

namespace tkv {

namespace {

constexpr help::Topic help_topic = help::print_window;

// The configured printer when the system still has it, else the system's current one, which then
// becomes the configured printer. Printers are matched ignoring letter case.
int choose_printer(OPTIONS_TYPE& options, const std::vector<std::string>& printers, const PrinterSystem& system) {
    const QString wanted = QString::fromStdString(options.printer_name).toLower();
    for (std::size_t i = 0; i < printers.size(); ++i)
        if (QString::fromStdString(printers[i]).toLower() == wanted) return static_cast<int>(i);
    // The job goes where the option now points, not simply to the first printer.
    const auto current = std::find(printers.begin(), printers.end(), system.current_printer());
    const std::size_t number = current == printers.end() ? 0 : static_cast<std::size_t>(current - printers.begin());
    options.printer_name = printers[number];
    return static_cast<int>(number);
}

} // namespace

bool printer_installed() {
    return !SystemPrinters().printers().empty();
}

void u_main_printinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent, int game_index) {
    SystemPrinters printers;
    u_main_printinfo(context, dialogs, parent, game_index, printers);
}

void u_main_printinfo(ProgramContext& context, Dialogs& dialogs, QWidget* parent, int game_index,
                      PrinterSystem& printers) {
    // Only games of the table print: a game still being added has nothing to print yet.
    if (game_index < 0 || static_cast<std::size_t>(game_index) >= context.db.games.size()) return;
    const std::vector<std::string> names = printers.printers();
    if (names.empty()) return;
    OPTIONS_TYPE& options = context.options;
    TTKV_Printer job;
    job.PrinterNumber = choose_printer(options, names, printers);

    // A record of its own: the information window keeps its game in db.current_game while it prints.
    GAMES2_TEMP_ARRAY_TYPE game;
    const Messages m = messages_of(context, dialogs);
    if (const int error = games_uncompress_data(context.db, game_index, false, game); error != 0) {
        m.error("error " + std::to_string(error));
        return;
    }
    const CodePage game_cp = profile_code_page(context);
    const std::string title = to_utf8(game.title, game_cp);

    if (options.print_confirmation) {
        const std::string question =
            m.text(caption_slot::print_question,
                   {options.printer_name, options.print_font_name, std::to_string(options.print_font_size)}) +
            "\r\n\r\n" + title;
        if (m.ask(question, caption_slot::question_title, MessageIcon::question, MessageButtons::yes_no) !=
            MessageAnswer::yes)
            return;
    }

    PrintSelection selection;
    if (options.selective_print) {
        Tprint window(context, game, parent ? centre_of(parent->window()->frameGeometry()) : screen_centre(), parent);
        window.exec();
        if (window.print_cancelled()) return;
        selection = window.print_selection();
    }

    const PROFILES_TYPE* profile = current_profile(context);
    const std::string body = u_main_printinfo_infos(
        game, selection,
        {context.CAPTIONS, context.language.code_page, game_cp, options.server, profile ? profile->id : ""});
    if (trim_blank(body).empty()) return;

    job.Title = m.text(caption_slot::print_job_title, {title});
    job.FontBody = skin_font(options.print_font_name, options.print_font_size, 0);
    job.FontHeader = skin_font(options.print_font_name, options.print_font_size, font_bold);
    job.FontFooter = skin_font(options.print_font_name, options.print_font_size - 2, font_bold);
    job.TextBody = split_lines(body);
    job.TextFooter = print_footer(context.CAPTIONS, context.language.code_page);
    const QLocale locale = QLocale::system();
    job.TextHeader = print_header(job.TextBody,
                                  {title, profile ? to_utf8(profile->name, game_cp) : "",
                                   utf8_of(locale.toString(QDate::currentDate(), QLocale::ShortFormat)),
                                   utf8_of(locale.toString(QTime::currentTime(), QLocale::ShortFormat))},
                                  context.CAPTIONS, context.language.code_page);

    if (!printers.print(job))
        m.error(m.text(caption_slot::print_printer_unsupported, {options.printer_name}));
}

Tprint::Tprint(ProgramContext& context, const GAMES2_TEMP_ARRAY_TYPE& game, QPoint centre, QWidget* parent)
    : QDialog(parent), context_(context) {
    setObjectName("Tprint");
    skin_ = std::make_unique<WindowSkin>(this, context.options.custom_title_bar_active);
    QWidget* client = skin_->client();
    const double s = context.screen_scale;
    const CodePage cp = context.language.code_page;

    auto* lb_print_these = new QLabel(caption_text(context, caption_slot::print_choose_label), client);
    lb_print_these->setObjectName("lb_print_these");
    lb_print_these->setGeometry(scaled_rect(8, 8, 217, 14, s));
    set_skin_class(lb_print_these, "N");

    ls_infos_ = new TTKV_ListBox(client);
    ls_infos_->setObjectName("ls_infos");
    ls_infos_->setRowHeight(15);
    ls_infos_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ls_infos_->setToolTip(caption_text(context, caption_slot::print_choose_hint));
    ls_infos_->setGeometry(scaled_rect(10, 26, 213, 108, s));
    QStringList rows;
    const CodePage game_cp = profile_code_page(context);
    for (const GAMES2_INFOS_TYPE& info : game.infos)
        rows << qt_text(info.type_name, game_cp);
    ls_infos_->setRows(rows);
    ls_infos_->selectAll();
    frame_control(ls_infos_);

    const std::string& parts = context.options.print_selection;
    ck_internet_ = check_box("ck_internet", caption_slot::print_files_heading, 142);
    ck_internet_->setChecked(print_part_on(parts, 0));
    ck_internet_->setEnabled(!game.files.empty());
    ck_homepages_ = check_box("ck_homepages", caption_slot::print_home_pages_heading, 160);
    ck_homepages_->setChecked(print_part_on(parts, 1));
    ck_homepages_->setEnabled(!game.homepages.empty());
    ck_user_ = check_box("ck_user", caption_slot::print_user_text_heading, 178);
    ck_user_->setChecked(print_part_on(parts, 2));
    ck_user_->setEnabled(!game.user_text.empty());
    ck_saveasdefault_ = check_box("ck_saveasdefault", caption_slot::print_save_as_default, 202);

    auto* btc_ok = new QPushButton(caption_text(context, caption_slot::print_ok_button), client);
    btc_ok->setObjectName("btc_ok");
    btc_ok->setGeometry(scaled_rect(30, 225, 80, 24, s));
    btc_ok->setDefault(true);
    auto* btc_cancel = new QPushButton(caption_text(context, caption_slot::print_cancel_button), client);
    btc_cancel->setObjectName("btc_cancel");
    btc_cancel->setGeometry(scaled_rect(123, 225, 80, 24, s));

    setWindowTitle(qt_text(caption_format(context.CAPTIONS[caption_slot::print_title], {product_name}), cp));
    skin_->set_client_size(QSize(233, 257), s);
    skin_->apply(context.skin_current, context.skin_current.window_other,
                 skins_folder(context.variables), s);
    centre_window(this, centre); // the skin may have changed the window's size

    connect(btc_ok, &QPushButton::clicked, this, [this] { btc_okClick(); });
    connect(btc_cancel, &QPushButton::clicked, this, &QDialog::reject);
    ls_infos_->setFocus();
}

Tprint::~Tprint() = default;

QCheckBox* Tprint::check_box(const char* name, int caption, int top) {
    auto* box = new QCheckBox(caption_text(context_, caption), skin_->client());
    box->setObjectName(name);
    box->setGeometry(scaled_rect(8, top, 217, 17, context_.screen_scale));
    return box;
}

void Tprint::btc_okClick() {
    selection_.infos.assign(selection_.infos.size(), false);
    const QItemSelectionModel* chosen = ls_infos_->selectionModel();
    const int rows = ls_infos_->model()->rowCount();
    for (int row = 0; row < rows && static_cast<std::size_t>(row) < selection_.infos.size(); ++row)
        selection_.infos[static_cast<std::size_t>(row)] = chosen->isRowSelected(row, QModelIndex());
    selection_.files = ck_internet_->isChecked();
    selection_.homepages = ck_homepages_->isChecked();
    selection_.user = ck_user_->isChecked();
    if (ck_saveasdefault_->isChecked())
        context_.options.print_selection = print_parts_option(selection_.files, selection_.homepages, selection_.user);
    accept();
}

void Tprint::keyPressEvent(QKeyEvent* event) {
    checkhelp(event->key(), help_topic, context_.language.help_path, this);
    QDialog::keyPressEvent(event);
}

} // namespace tkv
