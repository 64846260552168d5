#include "platform/qt/help_window.h"

#include "platform/qt/desktop.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

namespace tkv {

namespace {

QPointer<QWidget> help_window;

// The help window belongs to the window that asked: every window of the program is modal, and
// only the modal window's own children stay usable beside it.
QWidget* help_window_over(QWidget* parent) {
    if (help_window && help_window->parentWidget() != parent) help_window->setParent(parent, Qt::Window);
    if (help_window) return help_window;

    help_window = new QWidget(parent, Qt::Window);
    help_window->setObjectName("help_window");
    help_window->setAttribute(Qt::WA_DeleteOnClose);
    help_window->setWindowTitle(QStringLiteral("Trickvault - Help"));
    auto* browser = new QTextBrowser(help_window);
    browser->setObjectName("help_browser");
    browser->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(help_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser);
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
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace tkv
