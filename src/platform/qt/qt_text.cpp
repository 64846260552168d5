#include "platform/qt/qt_text.h"

namespace tkv {

QString qt_text(std::string_view bytes, CodePage cp) {
    return qt_utf8(to_utf8(bytes, cp));
}

std::string from_qt(const QString& s, CodePage cp) {
    return from_utf8(utf8_of(s), cp);
}

QString qt_utf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string utf8_of(const QString& s) {
    const QByteArray bytes = s.toUtf8();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace tkv
