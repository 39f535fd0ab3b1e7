#pragma once

#include "foundation/errors/UError.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

struct SavePanelOptions {
    // Empty keeps the panel's own title.
    QString title;
    QString directory;
    QString fileName;
    // The label of the name field; empty keeps the panel's own.
    QString nameFieldLabel;
    // The first is the required extension, added when the user typed none.
    QStringList allowedExtensions;
    QString prompt;
};

struct OpenPanelOptions {
    QString directory;
    // Empty allows every file.
    QStringList allowedExtensions;
    bool canChooseFiles = true;
    bool canChooseDirectories = false;
    bool allowsMultipleSelection = false;
    bool canCreateDirectories = false;
    QString prompt;
};

// Open and save panels, shown as sheets on a window (application-modal with no window). They
// never block: the completion gets the chosen paths, or nothing when the user cancelled. Tests
// replace the panels by a recorder that answers as the test says.
class FilePanels {
public:
    // A null path when cancelled.
    using SaveCompletion = std::function<void(const QString& path)>;
    // Empty when cancelled.
    using OpenCompletion = std::function<void(const QStringList& paths)>;

    virtual ~FilePanels() = default;
    virtual void beginSavePanel(
        QWidget* window, const SavePanelOptions& options, SaveCompletion done)
        = 0;
    virtual void beginOpenPanel(
        QWidget* window, const OpenPanelOptions& options, OpenCompletion done)
        = 0;
};

// The path a save panel's choice is written to, so that no file gets an extension its contents
// do not have: a name with an allowed extension stays, one without an extension gets the first
// allowed one, and one ending in another extension has it replaced. Any path when none is given.
QString FilePanelPathWithAllowedExtension(
    const QString& path, const QStringList& allowedExtensions);
// The same, refused with the already-exist error when the corrected name is another existing
// file: the panel asked about overwriting the name typed, not that one.
[[nodiscard]] std::optional<QString> FilePanelSavePath(
    const QString& path, const QStringList& allowedExtensions, UErrorPtr* error);
