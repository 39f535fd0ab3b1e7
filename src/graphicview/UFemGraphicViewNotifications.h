#pragma once

#include <QString>

// Posted by the data controller's centre when card string editors should apply and close; the
// user info may name the poster under UFemGraphicViewControllerUserInfoKey, whose own editor stays.
inline const QString UFemCardStringEditorShouldCloseNotification
    = QStringLiteral("UFemCardStringEditorShouldCloseNotification");
inline const QString UFemGraphicViewControllerUserInfoKey = QStringLiteral("GraphicViewController");
