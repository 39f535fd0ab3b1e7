#pragma once

#include <QString>

// Posted on the default centre by a window controller (the sender), without user info, around a
// change of the main view it shows and when its window becomes or stops being the main window.
inline const QString UFemActiveMainViewWillChangeNotification
    = QStringLiteral("UFemActiveMainViewWillChangeNotification");
inline const QString UFemActiveMainViewDidChangeNotification
    = QStringLiteral("UFemActiveMainViewDidChangeNotification");

// Re-posted by a window controller from its selected-card set: will-change public first,
// did-change private first.
inline const QString UFemWindowSelectedCardWillChangeNotification
    = QStringLiteral("UFemWindowSelectedCardWillChangeNotification");
inline const QString UFemWindowSelectedCardWillChangeNotification_private
    = QStringLiteral("UFemWindowSelectedCardWillChangeNotification_private");
inline const QString UFemWindowSelectedCardDidChangeNotification_private
    = QStringLiteral("UFemWindowSelectedCardDidChangeNotification_private");
inline const QString UFemWindowSelectedCardDidChangeNotification
    = QStringLiteral("UFemWindowSelectedCardDidChangeNotification");

// Re-posted by a window controller from its current-case set, in the same order.
inline const QString UFemWindowCurrentCaseWillChangeNotification
    = QStringLiteral("UFemWindowCurrentCaseWillChangeNotification");
inline const QString UFemWindowCurrentCaseWillChangeNotification_private
    = QStringLiteral("UFemWindowCurrentCaseWillChangeNotification_private");
inline const QString UFemWindowCurrentCaseDidChangeNotification_private
    = QStringLiteral("UFemWindowCurrentCaseDidChangeNotification_private");
inline const QString UFemWindowCurrentCaseDidChangeNotification
    = QStringLiteral("UFemWindowCurrentCaseDidChangeNotification");

// Posted by a window controller (the sender), without user info, around a change of the 3-D
// view's move mode.
inline const QString UFemGraphicMoveModeWillChangeNotification
    = QStringLiteral("UFemGraphicMoveModeWillChangeNotification");
inline const QString UFemGraphicMoveModeDidChangeNotification
    = QStringLiteral("UFemGraphicMoveModeDidChangeNotification");

// Posted on the data controller's centre with it as sender by a main view controller just
// before it applies its edited card string. The user info names the sender under the key of its
// kind; every other view of that data controller applies and closes its own editor.
inline const QString UFemCardStringEditorShouldCloseNotification
    = QStringLiteral("UFemCardStringEditorShouldCloseNotification");
inline const QString UFemCardStringEditorSenderKeyTableViewController
    = QStringLiteral("TableViewController");
inline const QString UFemCardStringEditorSenderKeyGraphicViewController
    = QStringLiteral("GraphicViewController");
