#include "ui/Text.h"

#include "web/TextEncoding.h"

namespace quillmarsh {

QString ToQString(std::string_view gbk)
{
    std::u16string units = GbkToUtf16(gbk);
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

std::string FromQString(const QString& text)
{
    return Utf16ToGbk(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())));
}

} // namespace quillmarsh
