#pragma once

#include <QString>
#include <QVariantMap>

// One posted notification: its name, the object that posted it (an identity only, never
// dereferenced) and the entries that describe it.
struct UNotification {
    QString name;
    const void* sender = nullptr;
    QVariantMap userInfo;
};
