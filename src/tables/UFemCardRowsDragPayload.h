#pragma once

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

class QMimeData;

// What a card table drag carries under its private type: the model rows of the dragged cards in
// table order, and which process and which model they came from, so that a drop into another
// model or another running program takes the cards as text instead.
struct UFemCardRowsDragPayload {
    static const QString mimeType;

    qint64 processIdentifier = 0;
    quint64 modelIdentifier = 0;
    std::vector<quint64> cardRowIndexes;

    QByteArray encoded() const;
    // Nothing for data that is not a well-formed payload.
    static std::optional<UFemCardRowsDragPayload> decoded(const QByteArray& data);
    static std::optional<UFemCardRowsDragPayload> fromMimeData(const QMimeData& mimeData);
    // Whether it names this process and the model identified by `modelIdentifier`.
    bool isFrom(quint64 modelIdentifier) const;
};
