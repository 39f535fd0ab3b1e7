#include "tables/UFemCardRowsDragPayload.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QStringList>

const QString UFemCardRowsDragPayload::mimeType = QStringLiteral("application/x-vantrel-card-rows");

namespace {

const QByteArray payloadHeader = QByteArrayLiteral("vantrel-card-rows 1");
constexpr qsizetype headerLineCount = 3;
constexpr char lineSeparator = '\n';
constexpr char rowSeparator = ' ';

} // namespace

QByteArray UFemCardRowsDragPayload::encoded() const
{
    QByteArray data = payloadHeader + lineSeparator + QByteArray::number(processIdentifier)
        + lineSeparator + QByteArray::number(modelIdentifier) + lineSeparator;
    for (std::size_t k = 0; k < cardRowIndexes.size(); ++k) {
        if (k != 0)
            data += rowSeparator;
        data += QByteArray::number(cardRowIndexes[k]);
    }
    return data;
}

std::optional<UFemCardRowsDragPayload> UFemCardRowsDragPayload::decoded(const QByteArray& data)
{
    const QList<QByteArray> lines = data.split(lineSeparator);
    if (lines.size() != headerLineCount + 1 || lines[0] != payloadHeader)
        return std::nullopt;
    UFemCardRowsDragPayload payload;
    bool isProcessRead = false;
    bool isModelRead = false;
    payload.processIdentifier = lines[1].toLongLong(&isProcessRead);
    payload.modelIdentifier = lines[2].toULongLong(&isModelRead);
    if (!isProcessRead || !isModelRead)
        return std::nullopt;
    for (const QByteArray& field : lines[3].split(rowSeparator)) {
        bool isRowRead = false;
        payload.cardRowIndexes.push_back(field.toULongLong(&isRowRead));
        if (!isRowRead)
            return std::nullopt;
    }
    return payload;
}

std::optional<UFemCardRowsDragPayload> UFemCardRowsDragPayload::fromMimeData(
    const QMimeData& mimeData)
{
    if (!mimeData.hasFormat(mimeType))
        return std::nullopt;
    return decoded(mimeData.data(mimeType));
}

bool UFemCardRowsDragPayload::isFrom(quint64 model) const
{
    return processIdentifier == QCoreApplication::applicationPid() && modelIdentifier == model;
}
