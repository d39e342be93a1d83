#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace quillmarsh {

// Program text (GBK) to and from the window toolkit's strings.
QString ToQString(std::string_view gbk);
std::string FromQString(const QString& text);

// A control name, written in UTF-8 in the program, as an object name.
inline QString Name(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace quillmarsh
