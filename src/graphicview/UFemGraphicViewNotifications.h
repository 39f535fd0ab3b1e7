#pragma once

#include "documents/window/UFemWindowNotifications.h"

#include <QString>

// The key under which the 3-D view names itself when it posts
// UFemCardStringEditorShouldCloseNotification; its own editor stays.
inline const QString UFemGraphicViewControllerUserInfoKey = QStringLiteral("GraphicViewController");
