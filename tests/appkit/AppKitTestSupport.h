#pragma once

#include "appkit/CommandTarget.h"
#include "appkit/Document.h"
#include "appkit/DocumentController.h"
#include "appkit/FilePanels.h"
#include "appkit/Notifier.h"
#include "appkit/SheetPresenter.h"
#include "appkit/WindowController.h"
#include "appkit/WindowTracker.h"

#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

class QLineEdit;
class QWidget;

inline const QString DummyType = QStringLiteral("DummyDocument");
inline const QString DummyExtension = QStringLiteral("dummy");

// Alerts are recorded with the window they were asked for; the test answers them in turn.
class RecordingSheetPresenter : public SheetPresenter {
public:
    struct Recorded {
        QWidget* window = nullptr;
        Alert alert;
        AlertCompletion done;
    };

    void beginAlertSheet(QWidget* window, const Alert& alert, AlertCompletion done) override;
    int runModalAlert(const Alert& alert) override;

    // Answers the oldest alert not yet answered.
    void answer(int buttonIndex);
    bool hasPending() const { return !pending_.empty(); }
    const Alert& pendingAlert() const { return pending_.front().alert; }
    QWidget* pendingWindow() const { return pending_.front().window; }

    std::vector<Alert> alerts;
    int modalAnswer = 0;

private:
    std::deque<Recorded> pending_;
};

// Answers save panels with `savePath` and open panels with `openPaths`, recording the options.
class RecordingFilePanels : public FilePanels {
public:
    void beginSavePanel(
        QWidget* window, const SavePanelOptions& options, SaveCompletion done) override;
    void beginOpenPanel(
        QWidget* window, const OpenPanelOptions& options, OpenCompletion done) override;

    QString savePath;
    QStringList openPaths;
    std::vector<SavePanelOptions> savePanels;
    std::vector<QWidget*> savePanelWindows;
    std::vector<OpenPanelOptions> openPanels;
};

// Counts the beeps and sounds for as long as it lives.
class BeepRecorder {
public:
    BeepRecorder();
    ~BeepRecorder();
    QStringList sounds;

private:
    Notifier::Hook previous_;
};

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
    BeepRecorder beeps;
};

// Runs queued calls and deferred deletions.
void finishEventTurn();
