#include "TextDecoding.h"

#include "MessageText.h"

#include <QStringDecoder>

namespace zorby::ui {

QString TextFromLine(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(view);
    if (utf8.hasError()) {
        return QString::fromLatin1(view);
    }
    return text;
}

QString TextFromMessage(std::string_view bytes) {
    return QString::fromStdU16String(MessageCharacters(bytes, Latin1))
        .replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace zorby::ui
