#pragma once

#include <QString>

// One entry of a menu the card model describes; a Widgets adapter turns the entries into actions
// with its own selector and target.
struct UFemMenuItemDescription {
    QString title;
    qint64 tag = 0;
    bool isSeparator = false;

    static UFemMenuItemDescription separator() { return { QString(), 0, true }; }
    friend bool operator==(const UFemMenuItemDescription&, const UFemMenuItemDescription&)
        = default;
};
