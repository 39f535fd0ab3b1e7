#pragma once

#include <QString>

// The standard commands the application kit routes itself, by their selector names (the texts
// menu items and key equivalents carry).
inline const QString CopyCommand = QStringLiteral("copy:");
inline const QString CutCommand = QStringLiteral("cut:");
inline const QString DeleteCommand = QStringLiteral("delete_:");
inline const QString OpenDocumentCommand = QStringLiteral("openDocument:");
inline const QString PasteCommand = QStringLiteral("paste:");
inline const QString PerformCloseCommand = QStringLiteral("performClose:");
inline const QString RedoCommand = QStringLiteral("redo:");
inline const QString RevertDocumentToSavedCommand = QStringLiteral("revertDocumentToSaved:");
inline const QString SaveDocumentCommand = QStringLiteral("saveDocument:");
inline const QString SaveDocumentAsCommand = QStringLiteral("saveDocumentAs:");
inline const QString SelectAllCommand = QStringLiteral("selectAll:");
inline const QString UndoCommand = QStringLiteral("undo:");
