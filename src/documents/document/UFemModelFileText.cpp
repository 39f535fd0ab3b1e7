#include "documents/document/UFemModelFileText.h"

#include <QStringDecoder>

namespace {

const QString OldClassName = QStringLiteral("RestraintExpression");
const QString NewClassName = QStringLiteral("RestraintEquation");

// The decoder drops a leading byte-order mark itself; a second one is text.
std::optional<QString> decodeStrictly(QStringDecoder& decoder, QByteArrayView data)
{
    QString text = decoder.decode(data);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

// Only with its byte-order mark: without it nearly any bytes (a Latin-1 file) decode as UTF-16,
// into a text of strange characters.
std::optional<QString> decodeUtf16(const QByteArray& data)
{
    const bool littleEndian = data.startsWith("\xFF\xFE");
    if (data.size() % 2 != 0 || (!littleEndian && !data.startsWith("\xFE\xFF")))
        return std::nullopt;
    QStringDecoder decoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
        QStringConverter::Flag::Stateless);
    std::optional<QString> text = decodeStrictly(decoder, data);
    // The decoder lets unpaired surrogates through.
    if (text && !QStringView(*text).isValidUtf16())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<QString> UFemModelTextFromModelFileData(const QByteArray& data)
{
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    if (std::optional<QString> text = decodeStrictly(utf8, data))
        return text;
    return decodeUtf16(data);
}

QByteArray UFemModelFileDataFromModelText(const QString& modelText)
{
    return modelText.toUtf8();
}

bool UFemModelTextHasRestraintExpressionRow(const QString& modelText)
{
    return modelText.contains(u'\n' + OldClassName);
}

QString UFemModelTextReplacingRestraintExpression(const QString& modelText)
{
    QString text = modelText;
    text.replace(u'\n' + OldClassName, u'\n' + NewClassName);
    if (text.startsWith(OldClassName))
        text.replace(0, OldClassName.size(), NewClassName);
    return text;
}
