#include "appearance/ui/skin_apply.h"

#include "appearance/ui/background_picture.h"
#include "shell/files.h"
#include "widgets/accessibility.h"
#include "widgets/ttkv_frame.h"
#include "widgets/ttkv_listbox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTreeView>
#include <cmath>
#include <map>

namespace tkv {

namespace {

constexpr const char* skin_class_property = "tkv_skin_class";
constexpr const char* link_property = "tkv_link";

// A disabled control keeps the skin's colours; its text fades halfway into its background, so it
// reads as disabled without taking the desktop theme's grey.
QColor faded(const QColor& fg, const QColor& bg) {
    return QColor((fg.red() + bg.red()) / 2, (fg.green() + bg.green()) / 2, (fg.blue() + bg.blue()) / 2);
}

void set_colours(QWidget* w, QPalette::ColorRole background, const QColor& bg, QPalette::ColorRole text,
                 const QColor& fg) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, background, bg);
        p.setColor(group, text, group == QPalette::Disabled ? faded(fg, bg) : fg);
    }
    w->setPalette(p);
}

void set_text_colour(QWidget* w, const QColor& fg) {
    QPalette p = w->palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::WindowText, fg);
        p.setColor(group, QPalette::Text, fg);
    }
    w->setPalette(p);
}

// Swaps a link label's font colour and underline while the pointer is over it or it has the
// focus. Enter and Space work it as a click does, so the keyboard reaches every link.
class LinkHover : public QObject {
  public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* label = static_cast<QLabel*>(watched);
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Space) return false;
            const QPointF centre = QRectF(label->rect()).center();
            QMouseEvent click(QEvent::MouseButtonRelease, centre, label->mapToGlobal(centre), Qt::LeftButton,
                              Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(label, &click);
            return true;
        }
        const auto type = event->type();
        if (type == QEvent::Enter || type == QEvent::Leave || type == QEvent::FocusIn || type == QEvent::FocusOut) {
            const bool over = type == QEvent::Enter || type == QEvent::FocusIn;
            const QColor normal = label->property("tkv_link_normal").value<QColor>();
            const QColor hover = label->property("tkv_link_hover").value<QColor>();
            set_text_colour(label, over ? hover : normal);
            QFont f = label->font();
            f.setUnderline(over != label->property("tkv_link_underline").toBool());
            label->setFont(f);
        }
        return false;
    }
};

void skin_label(QLabel* label, const SKINS_ITEM_TYPE& item) {
    label->setAutoFillBackground(false);
    label->setFont(skin_font(item));
    set_text_colour(label, qt_colour(item.font_color));
    if (label->property(link_property).toBool()) {
        label->setProperty("tkv_link_normal", qt_colour(item.font_color));
        label->setProperty("tkv_link_hover", qt_colour(item.color));
        label->setProperty("tkv_link_underline", (item.font_style & font_underline) != 0);
    }
}

// font file -> application font id
std::map<std::string, int>& added_fonts() {
    static std::map<std::string, int> ids;
    return ids;
}

} // namespace

bool QtFontSystem::has_family(const std::string& lower_case_name) {
    for (const QString& family : QFontDatabase::families())
        if (family.toLower().toStdString() == lower_case_name) return true;
    return false;
}

bool QtFontSystem::add_font_file(const std::string& path) {
    if (!file_exists(path)) return true; // a missing file adds nothing, as the system reports
    const int id = QFontDatabase::addApplicationFont(QString::fromStdString(path));
    if (id < 0) return false;
    added_fonts()[path] = id;
    return true;
}

void QtFontSystem::remove_font_file(const std::string& path) {
    if (auto it = added_fonts().find(path); it != added_fonts().end()) {
        QFontDatabase::removeApplicationFont(it->second);
        added_fonts().erase(it);
    }
}

void skin_fonts_follow(std::vector<SKINS_FONT_TYPE>& installed, const SKINS_TYPE& skin) {
    QtFontSystem fonts;
    skins_set_fonts(installed, skin, fonts);
}

QColor qt_colour(SkinColor c) {
    return QColor(skin_red(c), skin_green(c), skin_blue(c));
}

QFont information_font(QLabel* probe, const std::string& name, std::uint8_t style, int width) {
    int size = 20;
    const auto measured = [&] {
        probe->setFont(skin_font(name, size, style));
        return probe->fontMetrics().horizontalAdvance(probe->text());
    };
    while (measured() > width && size >= 7)
        --size;
    return probe->font();
}

QFont skin_font(const std::string& name, int size, std::uint8_t style) {
    QFont f(QString::fromStdString(name));
    // Some systems substitute a symbol font for a missing face (Impact becomes Dingbats with the
    // URW fonts): text would turn into pictures, so such a face takes the application's font.
    if (!QFontDatabase::hasFamily(f.family()) &&
        QFontDatabase::writingSystems(QFontInfo(f).family()).contains(QFontDatabase::Symbol))
        f.setFamily(QApplication::font().family());
    f.setPointSize(std::max(1, size));
    f.setBold(style & font_bold);
    f.setItalic(style & font_italic);
    f.setUnderline(style & font_underline);
    return f;
}

QFont skin_font(const SKINS_ITEM_TYPE& item) {
    return skin_font(item.font_name, item.font_size, item.font_style);
}

void set_skin_class(QWidget* label, const char* mark) {
    label->setProperty(skin_class_property, QString(mark));
}

QLabel* skinned_label(QWidget* parent, const char* name, QRect geometry, const char* mark) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    set_skin_class(l, mark);
    return l;
}

void set_link_label(QLabel* label) {
    label->setProperty(link_property, true);
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::TabFocus);
    label->installEventFilter(new LinkHover(label));
}

void apply_title_colours(TitleBar* bar, const SKINS_WORDCAP_TYPE& title) {
    if (!bar) return;
    bar->setAlignment(title.alignment == 1   ? Qt::AlignHCenter
                      : title.alignment == 2 ? Qt::AlignRight
                                             : Qt::AlignLeft);
    bar->setColours({qt_colour(title.left_active), qt_colour(title.right_active),
                     qt_colour(title.left_inactive), qt_colour(title.right_inactive),
                     qt_colour(title.active_text), qt_colour(title.inactive_text)});
    bar->setCaptionFont(title.system_font ? TitleBar::system_caption_font()
                                          : skin_font(title.font_name, title.font_size, title.font_style));
}

QProgressBar* skinned_progress_bar(QWidget* parent, const char* name, QRect geometry,
                                   const SkinProgressColors& colours) {
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(name);
    bar->setGeometry(geometry);
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setTextVisible(false);
    style_progress_bar(bar, colours);
    return bar;
}

void style_progress_bar(QProgressBar* bar, const SkinProgressColors& pc) {
    bar->setStyleSheet(QString("QProgressBar { background: %1; border: 1px solid %2; }"
                               "QProgressBar::chunk { background: qlineargradient(x1:0, y1:0, "
                               "x2:1, y2:0, stop:0 %3, stop:1 %4); }")
                           .arg(qt_colour(pc[0]).name(), qt_colour(pc[1]).name(), qt_colour(pc[2]).name(),
                                qt_colour(pc[3]).name()));
}

void skin_control(QWidget* w, const SKINS_WINDOWS_TYPE& r) {
    if (auto* label = qobject_cast<QLabel*>(w)) {
        const QString mark = w->property(skin_class_property).toString();
        if (mark == "N")
            skin_label(label, r.labels_normal);
        else if (mark == "F")
            skin_label(label, r.labels_panel);
        return;
    }
    if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w) || qobject_cast<QGroupBox*>(w)) {
        set_colours(w, QPalette::Window, qt_colour(r.panels.color), QPalette::WindowText,
                    qt_colour(r.labels_panel.font_color));
        w->setFont(skin_font(r.labels_panel));
        return;
    }
    if (qobject_cast<QPushButton*>(w)) {
        set_colours(w, QPalette::Button, qt_colour(r.buttons.color), QPalette::ButtonText,
                    qt_colour(r.buttons.font_color));
        w->setFont(skin_font(r.buttons));
        return;
    }
    if (auto* tree = qobject_cast<QTreeView*>(w)) {
        set_colours(w, QPalette::Base, qt_colour(r.panels.color), QPalette::Text,
                    qt_colour(r.panels.font_color));
        set_colours(w, QPalette::Highlight, qt_colour(r.panels.font_color), QPalette::HighlightedText,
                    qt_colour(r.panels.color));
        w->setFont(skin_font(r.panels));
        tree->setUniformRowHeights(true);
        return;
    }
    if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
        qobject_cast<QListView*>(w) || qobject_cast<QComboBox*>(w)) {
        set_colours(w, QPalette::Base, qt_colour(r.fields.color), QPalette::Text,
                    qt_colour(r.fields.font_color));
        set_colours(w, QPalette::Button, qt_colour(r.fields.color), QPalette::ButtonText,
                    qt_colour(r.fields.font_color));
        w->setFont(skin_font(r.fields));
        if (auto* list = qobject_cast<TTKV_ListBox*>(w))
            list->setRowHeight(QFontMetrics(list->font()).boundingRect("!1mMpP").height() + 2);
        return;
    }
    // A panel: a plain frame that groups controls.
    if (QString(w->metaObject()->className()) == "QFrame") {
        w->setAutoFillBackground(true);
        set_colours(w, QPalette::Window, qt_colour(r.panels.color), QPalette::WindowText,
                    qt_colour(r.panels.font_color));
        w->setFont(skin_font(r.panels));
    }
}

// Fits the picture again whenever the client area changes size.
class WindowSkin::PictureFollower : public QObject {
  public:
    PictureFollower(WindowSkin& skin, QWidget* client) : QObject(client), skin_(skin) {
        client->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize && watched == parent()) skin_.fit_picture();
        return QObject::eventFilter(watched, event);
    }

  private:
    WindowSkin& skin_;
};

WindowSkin::WindowSkin(QWidget* window, bool custom_title_bar)
    : window_(window), frame_(window, custom_title_bar), holder_(create_picture_holder(frame_.client())),
      follower_(new PictureFollower(*this, frame_.client())) {}

WindowSkin::~WindowSkin() {
    delete follower_; // the client outlives this record
}

void WindowSkin::fit_picture() {
    if (picture_size_.isEmpty() || holder_->isHidden() || holder_->pixmap().isNull()) return;
    // Before the window shows, its client area may not have its size yet: it has at least the designed one.
    const QSize designed = frame_.designed_client_size();
    const QSize size = covering_size(picture_size_, designed, frame_.client()->size().expandedTo(designed));
    if (size == holder_->pixmap().deviceIndependentSize().toSize() && !holder_->hasScaledContents()) return;
    holder_->setScaledContents(true);
    holder_->resize(size);
}

void WindowSkin::apply(const SKINS_TYPE& skin, const SKINS_WINDOWS_TYPE& record,
                       const std::string& skins_folder, double scale,
                       const std::optional<PictureNames>& pictures) {
    apply_title_colours(frame_.title_bar(), record.title);
    frame_.fit_window();
    QWidget* client = frame_.client();
    QPalette p = client->palette();
    p.setColor(QPalette::Window, qt_colour(record.background));
    client->setPalette(p);

    const PictureNames other{"other.jpg", "other.bmp"};
    const PictureNames names = pictures.value_or(other);
    if (!load_background_picture(holder_, skin, skins_folder, names.jpeg, names.bmp) && pictures &&
        names.bmp != other.bmp)
        load_background_picture(holder_, skin, skins_folder, other.jpeg, other.bmp);

    for (QWidget* w : client->findChildren<QWidget*>())
        if (w != holder_) skin_control(w, record);
    for (TTKV_Frame* frame : client->findChildren<TTKV_Frame*>())
        frame->refresh();
    // Every window comes here with its captions in place: the labels name the controls they caption.
    name_controls_by_labels(client);

    // isHidden, not isVisible: windows apply their skin before they are shown.
    picture_size_ = {};
    if (!holder_->isHidden() && !holder_->pixmap().isNull()) {
        const QSize natural = holder_->pixmap().deviceIndependentSize().toSize();
        picture_size_ = QSize(static_cast<int>(std::lround(natural.width() * scale)),
                              static_cast<int>(std::lround(natural.height() * scale)));
        fit_picture();
    }
    holder_->lower();
}

} // namespace tkv
