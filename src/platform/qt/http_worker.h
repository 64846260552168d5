#pragma once
// A GET for a window: HttpClient::get runs on a worker thread while a local event loop keeps the
// windows alive, so their abort buttons work. Progress arrives on the window's thread.

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/http_client.h"

namespace tkv {

// write runs on the worker thread; progress (optional) is queued to receiver's thread.
HttpResult get_keeping_ui(HttpClient& client, const std::string& url, const HttpProxy& proxy,
                          const HttpClient::Write& write, QObject* receiver,
                          std::function<void(std::int64_t received, std::int64_t total)> progress = {});

} // namespace tkv
