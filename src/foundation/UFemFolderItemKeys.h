#pragma once

#include <QString>

// The keys of a folder item: one named entry of a folder array of saved settings in the user
// preferences (a display name, a sort hint and the stored object).
inline const QString UFemFolderItemNameStringPreferencesKey
    = QStringLiteral("UFemFolderItemNameStringPreferencesKey");
inline const QString UFemFolderItemOrderHintNumberPreferencesKey
    = QStringLiteral("UFemFolderItemOrderHintNumberPreferencesKey");
inline const QString UFemFolderItemObjectPreferencesKey
    = QStringLiteral("UFemFolderItemObjectPreferencesKey");
