#pragma once

#include <QString>
#include <QStringList>

#include <vector>

class UFemCardClass;

// How a fixed form shows one column: a text field, or a popup read and written by item title.
struct CardFormColumnDescription {
    const char* objectName;
    // Empty for a text field; the titles of a popup's items.
    QStringList popupItemTitles = {};
};

// One fixed form, built in code: the controls of columns 2 on, in column order, named as the
// form's outlets, and the columns that open and close its key loop.
struct CardFormDescription {
    const char* formClassName;
    const UFemCardClass& (*cardClass)();
    const char* formViewObjectName;
    std::vector<CardFormColumnDescription> columns;
    quint64 firstKeyColumnIndex;
    quint64 lastKeyColumnIndex;
};

// The fourteen forms of the classes with a fixed column count.
const std::vector<CardFormDescription>& UFemFixedCardFormDescriptions();
