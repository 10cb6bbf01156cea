// Windows-1252 conversion for Qt strings (Qt has no codec for it built in).
#include "platform/qt/QtText.h"

#include "platform/TextCodec.h"

namespace qv {

QString FromCp1252(std::string_view text)
{
    QString out;
    out.reserve(qsizetype(text.size()));
    for (char c : text)
        out.append(QChar(char16_t(Cp1252ToUnicode(static_cast<unsigned char>(c)))));
    return out;
}

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(size_t(text.size()));
    for (QChar c : text) {
        unsigned char b = UnicodeToCp1252(c.unicode());
        out += b || c.unicode() == 0 ? char(b) : '?';
    }
    return out;
}

} // namespace qv
