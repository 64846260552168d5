#include "platform/qt/http_worker.h"

#include <QEventLoop>
#include <QMetaObject>

#include <thread>

namespace tkv {

HttpResult get_keeping_ui(HttpClient& client, const std::string& url, const HttpProxy& proxy,
                          const HttpClient::Write& write, QObject* receiver,
                          std::function<void(std::int64_t received, std::int64_t total)> progress) {
    HttpResult result;
    QEventLoop loop;
    HttpClient::Progress queued;
    if (progress)
        queued = [receiver, &progress](std::int64_t received, std::int64_t total) {
            QMetaObject::invokeMethod(
                receiver, [progress, received, total] { progress(received, total); }, Qt::QueuedConnection);
        };
    std::thread worker([&] {
        result = client.get(url, proxy, write, queued);
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return result;
}

} // namespace tkv
