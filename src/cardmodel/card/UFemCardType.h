#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The kinds of card. The numbers are part of the model's interfaces (card filter, text columns).
enum UFemCardTypeValue : qint32 {
    // Text columns not yet read from a line.
    UFemNotSetCardType = 0,
    UFemNullCardType = 1,
    UFemGenericNormalCardType = 2,
    UFemNodeCardType = 3,
    UFemElementCardType = 4,
    UFemElementPropCardType = 5,
    UFemMaterialCardType = 6,
    UFemCaseCardType = 7,
    UFemRestraintCardType = 8,
    UFemForceCardType = 9,
    UFemCoordCardType = 10,
    UFemValueCardType = 11,
    UFemSpecialCardType = 12,
    UFemErrorCardType = 13,
    // What a word that names no card type gives.
    UFemUnexpectedCardType = 14,
};

bool UFemIsNormalCardType(qint32 cardType);
// Exact and case-sensitive; an unknown word gives UFemUnexpectedCardType.
qint32 UFemCardTypeWithCardTypeString(const QString& cardTypeString);
QString UFemCardTypeDisplayString(qint32 cardType);
// Whether several cards may carry one name; a type without an answer is a program error.
bool UFemCardTypeIsAllowedHaveSomeCard(qint32 cardType);
// The same answer, or nullopt for a type that has none.
std::optional<bool> UFemCardTypeAllowsSomeCard(qint32 cardType);
