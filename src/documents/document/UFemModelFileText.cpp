#include "documents/document/UFemModelFileText.h"

#include <QStringDecoder>

#include <algorithm>

namespace {

const QString OldClassName = QStringLiteral("RestraintExpression");
const QString NewClassName = QStringLiteral("RestraintEquation");
// The first lines of a model file: enough to see how its characters are stored.
constexpr qsizetype utf16SniffedHeadBytes = 512;

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

// The head of the file tells such data from text that merely holds a NUL here and there.
bool UFemModelFileDataLooksLikeUtf16WithoutMark(const QByteArray& data)
{
    const qsizetype headLength = std::min(data.size(), utf16SniffedHeadBytes) & ~qsizetype(1);
    if (headLength == 0)
        return false;
    bool evenAllNul = true;
    bool oddAllNul = true;
    for (qsizetype i = 0; i < headLength && (evenAllNul || oddAllNul); i += 2) {
        evenAllNul = evenAllNul && data[i] == '\0';
        oddAllNul = oddAllNul && data[i + 1] == '\0';
    }
    return evenAllNul || oddAllNul;
}

std::optional<QString> UFemModelTextFromModelFileData(const QByteArray& data)
{
    if (UFemModelFileDataLooksLikeUtf16WithoutMark(data))
        return std::nullopt;
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
