#include "platform/linux/latin1_text.h"

#include <QList>
#include <QString>

namespace somnar {

std::string toLatin1(const std::string& utf8Text) {
    const QString text = QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size()))
                             .normalized(QString::NormalizationForm_C);
    // By code point, not by UTF-16 unit: a character beyond the BMP is one "?", not two.
    const QList<uint> codePoints = text.toUcs4();
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(codePoints.size()));
    for (const uint codePoint : codePoints) {
        bytes.push_back(codePoint <= 0xFF ? static_cast<char>(codePoint) : '?');
    }
    return bytes;
}

}  // namespace somnar
