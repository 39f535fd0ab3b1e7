#pragma once

#include "foundation/errors/UError.h"

#include <QString>
#include <QStringView>

#include <optional>

// The column parsers of the model text in the shapes the typed columns keep: the parsed range
// of the text (nullopt when the range is empty) and the value. Each returns false with the
// parser's error and writes nothing then.

struct UFemParsedDegreeOfFreedom {
    QString nodeCardNameString;
    QString direction6String;
    quint64 direction6 = 0;

    bool isEmpty() const { return nodeCardNameString.isEmpty() && direction6String.isEmpty(); }
};

[[nodiscard]] bool UFemParseRealColumnValue(QStringView columnString,
    std::optional<QStringView>* valueString, double* value, UErrorPtr* error);
[[nodiscard]] bool UFemParseIntegerColumnValue(QStringView columnString,
    std::optional<QStringView>* valueString, qint64* value, UErrorPtr* error);
[[nodiscard]] bool UFemParseBoolColumnValue(QStringView columnString,
    std::optional<QStringView>* valueString, bool* value, UErrorPtr* error);
[[nodiscard]] bool UFemParseDegreeOfFreedomColumnValue(
    QStringView columnString, UFemParsedDegreeOfFreedom* degreeOfFreedom, UErrorPtr* error);

// The name a text holds, without the U+0020 and TAB around it; nullopt with the parser's error, or
// with nothing left (and no error).
[[nodiscard]] std::optional<QString> UFemTrimmedCardNameString(
    const QString& text, UErrorPtr* error);
// The same name as a part of `text`, so that a name already known is found without a copy.
[[nodiscard]] std::optional<QStringView> UFemTrimmedCardNameView(
    QStringView text, UErrorPtr* error);
