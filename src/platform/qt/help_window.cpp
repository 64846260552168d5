#include "platform/qt/help_window.h"

#include "platform/qt/desktop.h"
#include "shell/product.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace tkv {

namespace {

QPointer<QWidget> help_window;

// Escape and Ctrl+W close the help, as they close a desktop's own help and document windows. The
// keys are taken before the browser sees them, so they work wherever the focus is.
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
                if (help_window) help_window->close();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
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
QWidget* help_window_over(QWidget* parent) {
    if (help_window && help_window->parentWidget() != parent) help_window->setParent(parent, Qt::Window);
    if (help_window) return help_window;

    help_window = new QWidget(parent, Qt::Window);
    help_window->setObjectName("help_window");
    help_window->setAttribute(Qt::WA_DeleteOnClose);
    help_window->setWindowTitle(QString::fromUtf8(product_name.data(), product_name.size()) + " - Help");
    auto* browser = new QTextBrowser(help_window);
    browser->setObjectName("help_browser");
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(help_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
    auto* keys = new CloseKeys(help_window);
    help_window->installEventFilter(keys);
    browser->installEventFilter(keys);
    browser->viewport()->installEventFilter(keys);
    const double scale = screen_scale();
    help_window->resize(static_cast<int>(480 * scale), static_cast<int>(560 * scale));
    return help_window;
}

QString html_path(const std::string& help_path) {
    QString path = QFile::decodeName(help_path.c_str());
    if (path.endsWith(QStringLiteral(".hlp"), Qt::CaseInsensitive)) path.replace(path.size() - 3, 3, "html");
    return path;
}

} // namespace

void checkhelp(int key, int help_context, const std::string& help_path, QWidget* parent) {
    if (key != Qt::Key_F1) return;
    QWidget* window = help_window_over(parent);
    auto* browser = window->findChild<QTextBrowser*>("help_browser");
    const QString path = html_path(help_path);
    if (QFileInfo(path).isFile()) {
        QUrl url = QUrl::fromLocalFile(path);
        url.setFragment(QStringLiteral("topic-%1").arg(help_context));
        browser->setSource(url);
    } else {
        browser->setPlainText(QStringLiteral("Help is not available.\n\n%1 cannot be read.").arg(path));
    }
    if (!window->isVisible()) place_over(window, parent);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tkv
