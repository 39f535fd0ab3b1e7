#pragma once

#include <QString>

#include <optional>

class UFemCard;

// What the card table's error column shows for a card: the reading error of an error card, else
// the error the card has to run, else its warning; nullopt for a card with none of them.
struct UFemCardErrorText {
    QString text;
    bool isWarning = false;
};

std::optional<UFemCardErrorText> UFemCardErrorTextOfCard(const UFemCard& card);
