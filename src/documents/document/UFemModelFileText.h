#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The text of a model file: read as strict UTF-8, else as UTF-16 behind its byte-order mark;
// nullopt when neither decodes. A leading byte-order mark is not part of the text. UTF-16 without
// its mark is refused, not read as UTF-8 full of NULs.
std::optional<QString> UFemModelTextFromModelFileData(const QByteArray& data);
// Whether the first 512 bytes hold NUL in every other byte: UTF-16 of ASCII text without its
// byte-order mark, which is also valid UTF-8.
bool UFemModelFileDataLooksLikeUtf16WithoutMark(const QByteArray& data);
// The model file data of a text: UTF-8 without byte-order mark.
QByteArray UFemModelFileDataFromModelText(const QString& modelText);

// Whether a row after the first starts with the card class name "RestraintExpression", the one
// case in which the user is asked to rename it.
bool UFemModelTextHasRestraintExpressionRow(const QString& modelText);
// The text with "RestraintExpression" at the head of every row replaced by "RestraintEquation";
// the name elsewhere in a row stays.
QString UFemModelTextReplacingRestraintExpression(const QString& modelText);
