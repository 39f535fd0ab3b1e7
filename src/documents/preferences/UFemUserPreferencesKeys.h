#pragma once

#include "foundation/threads/UThreadCountPreference.h"

#include <QString>

// The user-defaults keys of the user preferences (the thread count key comes with the foundation
// library's thread-count snapshot).
inline const QString UFemDoesUseEasyLockPreferencesKey
    = QStringLiteral("UFemDoesUseEasyLockPreferencesKey");
inline const QString UFemOpenGLRendererNameStringPreferencesKey
    = QStringLiteral("UFemOpenGLRendererNameStringPreferencesKey");
inline const QString UFemRenderingOpenGLVersionPreferencesKey
    = QStringLiteral("UFemRenderingOpenGLVersionPreferencesKey");
inline const QString UFemDoesUseOpenGLFrameBufferObjectPreferencesKey
    = QStringLiteral("UFemDoesUseOpenGLFrameBufferObjectPreferencesKey");
inline const QString UFemWritingFileNumberFormatterPreferencesKey
    = QStringLiteral("UFemWritingFileNumberFormatterPreferencesKey");

// The seven folder arrays.
inline const QString UFemTableViewViewPreferencesFolderArrayPreferencesKey
    = QStringLiteral("UFemTableViewViewPreferencesFolderArrayPreferencesKey");
inline const QString UFemGraphicViewViewPreferencesFolderArrayPreferencesKey
    = QStringLiteral("UFemGraphicViewViewPreferencesFolderArrayPreferencesKey");
inline const QString UFemCardFilterStringFolderArrayPreferencesKey
    = QStringLiteral("UFemCardFilterStringFolderArrayPreferencesKey");
inline const QString UFemResultTableViewCardValueExprListStringFolderArrayPreferencesKey
    = QStringLiteral("UFemResultTableViewCardValueExprListStringFolderArrayPreferencesKey");
inline const QString UFemGraphicViewColorByValueCardValueExprListStringFolderArrayPreferencesKey
    = QStringLiteral("UFemGraphicViewColorByValueCardValueExprListStringFolderArrayPreferencesKey");
inline const QString UFemColorScaleFolderArrayPreferencesKey
    = QStringLiteral("UFemColorScaleFolderArrayPreferencesKey");
inline const QString UFemNumberFormatterFolderArrayPreferencesKey
    = QStringLiteral("UFemNumberFormatterFolderArrayPreferencesKey");
