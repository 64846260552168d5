#pragma once
// What the desktop was asked to open while a test runs; nothing is really opened. List this header
// among a test's sources so that moc sees it.

#include <QDesktopServices>
#include <QList>
#include <QObject>
#include <QUrl>

namespace tkv::test {

class UrlRecorder : public QObject {
    Q_OBJECT
  public:
    UrlRecorder() {
        for (const char* scheme : {"file", "http", "https", "ftp", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~UrlRecorder() override {
        for (const char* scheme : {"file", "http", "https", "ftp", "mailto"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> opened;
  public slots:
    void open(const QUrl& url) { opened << url; }
};

} // namespace tkv::test
