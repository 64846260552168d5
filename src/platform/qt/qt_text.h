#pragma once
// The one place where the program's byte texts meet QString. Tables keep the bytes of their
// files; widgets get them here through the profile's or language's code page.

#include "shell/codepage.h"

#include <QString>
#include <string>
#include <string_view>

namespace tkv {

QString qt_text(std::string_view bytes, CodePage cp);
std::string from_qt(const QString& s, CodePage cp); // characters cp lacks become "?"

// Texts that are UTF-8 already (file names, messages built for the dialogs).
QString qt_utf8(std::string_view utf8);
std::string utf8_of(const QString& s);

} // namespace tkv
