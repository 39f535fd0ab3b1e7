#pragma once

#include "NotifierRecorder.h"
#include "RecordingFilePanels.h"
#include "RecordingSheetPresenter.h"
#include "appkit/CommandTarget.h"
#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

class QLineEdit;
class QWidget;

inline const QString DummyType = QStringLiteral("DummyDocument");
inline const QString DummyExtension = QStringLiteral("dummy");

// A document of plain UTF-8 text; text that is "unreadable" is refused, and writing fails while
// `failWrites` is set. Editing goes through the undo manager, as a model's edits do.
class DummyDocument : public Document {
public:
    bool readFromData(const QByteArray& data, const QString& type, UErrorPtr* error) override;
    std::optional<QByteArray> dataOfType(const QString& type, UErrorPtr* error) override;
    void makeWindowControllers() override;

    // One undo group that appends `piece`.
    void append(const QString& piece);
    void setText(const QString& text);
    const QString& text() const { return text_; }

    bool failWrites = false;

private:
    QString text_;
};

// A document window: a line edit above a main view whose controller responds to the edit
// commands itself.
class DummyWindowController : public WindowController {
public:
    explicit DummyWindowController(WindowTracker& tracker);

    QLineEdit* field() const { return field_; }
    QWidget* mainView() const { return mainView_; }

    int becameMain = 0;
    int resignedMain = 0;

    void windowDidBecomeMain() override { ++becameMain; }
    void windowDidResignMain() override { ++resignedMain; }

private:
    QLineEdit* field_;
    QWidget* mainView_;
};

// The program's document machinery with recorders for sheets, panels and beeps, and a folder
// for the files of one test.
struct AppKitHarness {
    AppKitHarness();
    ~AppKitHarness();

    QString path(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& contents) const;
    QByteArray readFile(const QString& name) const;
    DummyDocument* open(const QString& name);

    QTemporaryDir folder;
    WindowTracker tracker;
    RecordingSheetPresenter sheets;
    RecordingFilePanels panels;
    DocumentController controller;
    NotifierRecorder beeps;
};

// Runs queued calls and deferred deletions.
void finishEventTurn();
