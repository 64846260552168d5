#include "platform/qt/help_window.h"

#include "platform/qt/desktop.h"
#include "shell/files.h"
#include "shell/manual.h"
#include "shell/product.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace tkv {

namespace {

// Escape and Ctrl+W close the help, as they close a desktop's own help and document windows. The
// keys are taken before the focused control sees them, so they work wherever the focus is.
class CloseKeys : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool ctrl_w = key->key() == Qt::Key_W && key->modifiers() == Qt::ControlModifier;
            if ((key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) || ctrl_w ||
                key->matches(QKeySequence::Close)) {
                if (auto* w = qobject_cast<QWidget*>(parent())) w->close();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

QString local(const std::string& path) {
    return QFile::decodeName(path.c_str());
}

// The manual's pages in a contents tree beside the page shown, with back and forward and a search
// over the words of every page, indexed when a manual is opened. A help file without a manual
// folder beside it (a translation's single page) is shown alone.
class HelpWindow : public QWidget {
  public:
    explicit HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
        setObjectName("help_window");
        setAttribute(Qt::WA_DeleteOnClose);
        back_ = new QPushButton(this);
        back_->setObjectName("help_back");
        forward_ = new QPushButton(this);
        forward_->setObjectName("help_forward");
        search_ = new QLineEdit(this);
        search_->setObjectName("help_search");
        search_->setClearButtonEnabled(true);
        search_label_ = new QLabel(this);
        search_label_->setBuddy(search_);
        results_ = new QListWidget(this);
        results_->setObjectName("help_results");
        contents_ = new QTreeWidget(this);
        contents_->setObjectName("help_contents");
        contents_->setHeaderHidden(true);
        browser_ = new QTextBrowser(this);
        browser_->setObjectName("help_browser");
        browser_->setOpenExternalLinks(true);

        side_ = new QWidget(this);
        auto* side = new QVBoxLayout(side_);
        side->setContentsMargins(0, 0, 0, 0);
        auto* search_row = new QHBoxLayout;
        search_row->addWidget(search_label_);
        search_row->addWidget(search_);
        side->addLayout(search_row);
        side->addWidget(results_, 1);
        side->addWidget(contents_, 3);
        results_->hide();

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back_);
        buttons->addWidget(forward_);
        buttons->addStretch();
        auto* splitter = new QSplitter(this);
        splitter->addWidget(side_);
        splitter->addWidget(browser_);
        splitter->setStretchFactor(1, 1);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(4, 4, 4, 4);
        layout->addLayout(buttons);
        layout->addWidget(splitter, 1);
        setTabOrder(search_, results_);
        setTabOrder(results_, contents_);
        setTabOrder(contents_, browser_);
        setTabOrder(browser_, back_);
        setTabOrder(back_, forward_);

        back_->setEnabled(false);
        forward_->setEnabled(false);
        connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        connect(forward_, &QPushButton::clicked, browser_, &QTextBrowser::forward);
        connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
        connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QPushButton::setEnabled);
        connect(browser_, &QTextBrowser::sourceChanged, this,
                [this](const QUrl& url) { mark_in_contents(url); });
        connect(contents_, &QTreeWidget::itemActivated, this,
                [this](QTreeWidgetItem* item) { open_item(item); });
        connect(contents_, &QTreeWidget::itemClicked, this,
                [this](QTreeWidgetItem* item) { open_item(item); });
        connect(results_, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { open_result(item); });
        connect(results_, &QListWidget::itemClicked, this,
                [this](QListWidgetItem* item) { open_result(item); });
        connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) { search(text); });
        connect(search_, &QLineEdit::returnPressed, this, [this] {
            if (results_->count() > 0) open_result(results_->item(0));
        });

        auto* keys = new CloseKeys(this);
        installEventFilter(keys);
        for (QWidget* w : findChildren<QWidget*>())
            w->installEventFilter(keys);
        const double scale = screen_scale();
        resize(static_cast<int>(760 * scale), static_cast<int>(560 * scale));
    }

    void set_texts(const HelpTexts& texts) {
        setWindowTitle(texts.title.isEmpty()
                           ? QString::fromUtf8(product_name.data(), product_name.size()) + " - Help"
                           : texts.title);
        back_->setText(texts.back);
        forward_->setText(texts.forward);
        search_label_->setText(texts.search);
        search_->setPlaceholderText(texts.search_hint);
        contents_->setAccessibleName(texts.contents);
        results_->setAccessibleName(texts.results);
        browser_->setAccessibleName(texts.page);
        not_available_ = texts.not_available;
    }

    void show_topic(const std::string& help_file, int topic) {
        const std::string folder = manual_folder(help_file);
        const std::string start = folder + std::string(manual_start_page);
        if (file_exists(start)) {
            open_manual(folder);
            const std::string target = help_topic_target(topic).value_or(std::string(manual_start_page));
            const std::size_t hash = target.find('#');
            QUrl url = QUrl::fromLocalFile(local(folder + target.substr(0, hash)));
            if (hash != std::string::npos) url.setFragment(QString::fromStdString(target.substr(hash + 1)));
            browser_->setSource(url);
        } else if (QFileInfo(local(help_file)).isFile()) {
            close_manual();
            QUrl url = QUrl::fromLocalFile(local(help_file));
            url.setFragment(QString::fromStdString(help_anchor(topic)));
            browser_->setSource(url);
        } else {
            close_manual();
            browser_->setPlainText(QString(not_available_).replace("%1", local(help_file)));
        }
    }

  private:
    void open_manual(const std::string& folder) {
        side_->show();
        if (folder == folder_) return;
        folder_ = folder;
        index_ = ManualIndex{};
        contents_->clear();
        QTreeWidgetItem* parent = nullptr;
        for (const ManualEntry& e : manual_contents()) {
            const std::string page(e.page);
            const std::string html = file_read_all(folder + page);
            if (html.empty()) continue;
            index_.add(page, html);
            const QString title = QString::fromUtf8(html_title(html)).trimmed();
            auto* item =
                e.depth == 0 || !parent ? new QTreeWidgetItem(contents_) : new QTreeWidgetItem(parent);
            item->setText(0, title.isEmpty() ? QString::fromStdString(page) : title);
            item->setData(0, Qt::UserRole, QString::fromStdString(page));
            if (e.depth == 0) parent = item;
        }
        contents_->expandAll();
        search(search_->text());
    }

    void close_manual() {
        side_->hide();
        folder_.clear();
        index_ = ManualIndex{};
        contents_->clear();
        results_->clear();
    }

    void open_page(const QString& page) { browser_->setSource(QUrl::fromLocalFile(local(folder_) + page)); }
    void open_item(QTreeWidgetItem* item) {
        if (item) open_page(item->data(0, Qt::UserRole).toString());
    }
    void open_result(QListWidgetItem* item) {
        if (item) open_page(item->data(Qt::UserRole).toString());
    }

    void search(const QString& text) {
        results_->clear();
        results_->setVisible(!text.trimmed().isEmpty());
        for (const std::string& page : index_.find(text.toStdString())) {
            const QString name = QString::fromStdString(page);
            auto* item = new QListWidgetItem(results_);
            const auto found = contents_->findItems(QString(), Qt::MatchContains | Qt::MatchRecursive);
            const auto it = std::find_if(found.begin(), found.end(), [&](QTreeWidgetItem* i) {
                return i->data(0, Qt::UserRole).toString() == name;
            });
            item->setText(it != found.end() ? (*it)->text(0) : name);
            item->setData(Qt::UserRole, name);
        }
        if (results_->count() > 0) results_->setCurrentRow(0);
    }

    void mark_in_contents(const QUrl& url) {
        const QString page = QFileInfo(url.toLocalFile()).fileName();
        for (QTreeWidgetItem* i : contents_->findItems(QString(), Qt::MatchContains | Qt::MatchRecursive))
            if (i->data(0, Qt::UserRole).toString() == page) {
                const QSignalBlocker quiet(contents_);
                contents_->setCurrentItem(i);
                return;
            }
    }

    QPushButton* back_;
    QPushButton* forward_;
    QLineEdit* search_;
    QLabel* search_label_;
    QListWidget* results_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
    QWidget* side_;
    QString not_available_;
    std::string folder_;
    ManualIndex index_;
};

std::function<HelpTexts()>& help_texts() {
    static std::function<HelpTexts()> texts;
    return texts;
}

QPointer<HelpWindow> help_window;

// Sees F1 on its way up from the focused control, once no control has taken it.
class HelpKey : public QObject {
  public:
    HelpKey(QWidget* window, help::Topic topic, const std::string& help_path)
        : QObject(window), window_(window), topic_(topic), help_path_(help_path) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
            checkhelp(Qt::Key_F1, topic_, help_path_, window_);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QWidget* window_;
    help::Topic topic_;
    const std::string& help_path_;
};

// Over the window that asked, with its title bar on the screen, where the eye already is.
void place_over(QWidget* window, const QWidget* opener) {
    centre_over(window, opener);
    const QScreen* screen = opener ? opener->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QPoint at = window->pos();
    at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - window->width())));
    at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - window->height())));
    window->move(at);
}

// The help window belongs to the window that asked: every window of the program is modal, and
// only the modal window's own children stay usable beside it.
HelpWindow* help_window_over(QWidget* parent) {
    if (help_window && help_window->parentWidget() != parent) help_window->setParent(parent, Qt::Window);
    if (!help_window) help_window = new HelpWindow(parent);
    return help_window;
}

std::string html_path(const std::string& help_path) {
    std::string path = help_path;
    if (QString::fromStdString(path).endsWith(QStringLiteral(".hlp"), Qt::CaseInsensitive))
        path.replace(path.size() - 3, 3, "html");
    return path;
}

} // namespace

void checkhelp(int key, help::Topic help_context, const std::string& help_path, QWidget* parent) {
    if (key != Qt::Key_F1) return;
    HelpWindow* window = help_window_over(parent);
    window->set_texts(help_texts() ? help_texts()() : HelpTexts{});
    window->show_topic(html_path(help_path), help_context);
    if (!window->isVisible()) place_over(window, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

void set_help_texts(std::function<HelpTexts()> texts) {
    help_texts() = std::move(texts);
}

void help_on_f1(QWidget* window, help::Topic help_context, const std::string& help_path) {
    window->installEventFilter(new HelpKey(window, help_context, help_path));
}

} // namespace tkv
