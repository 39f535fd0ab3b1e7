#pragma once

#include <QString>

// Posted by a data controller (the sender) around every change of its model or of its result
// data. The public will-change comes before its private twin, the public did-change after it.
inline const QString UFemModelDataWillChangeNotification
    = QStringLiteral("UFemModelDataWillChangeNotification");
inline const QString UFemModelDataWillChangeNotification_private
    = QStringLiteral("UFemModelDataWillChangeNotification_private");
inline const QString UFemModelDataDidChangeNotification_private
    = QStringLiteral("UFemModelDataDidChangeNotification_private");
inline const QString UFemModelDataDidChangeNotification
    = QStringLiteral("UFemModelDataDidChangeNotification");
inline const QString UFemResultDataWillChangeNotification
    = QStringLiteral("UFemResultDataWillChangeNotification");
inline const QString UFemResultDataWillChangeNotification_private
    = QStringLiteral("UFemResultDataWillChangeNotification_private");
inline const QString UFemResultDataDidChangeNotification_private
    = QStringLiteral("UFemResultDataDidChangeNotification_private");
inline const QString UFemResultDataDidChangeNotification
    = QStringLiteral("UFemResultDataDidChangeNotification");
