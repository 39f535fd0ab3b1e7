#pragma once

#include "NotifierRecorder.h"
#include "QStringPrinting.h"
#include "RecordingFilePanels.h"
#include "RecordingSheetPresenter.h"
#include "appkit/DocumentController.h"
#include "appkit/WindowTracker.h"
#include "cardmodel/data/UFemDataControllerServices.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "documents/document/UFemDocument.h"
#include "documents/document/UFemDocumentPrompt.h"
#include "platform/UNotificationCenter.h"

#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <memory>

// Answers the document's questions as the test says and counts them.
class RecordingDocumentPrompt : public UFemDocumentPrompt {
public:
    bool shouldReplaceRestraintExpression() override
    {
        ++restraintExpressionQuestions;
        if (whenAsked)
            whenAsked();
        return replacesRestraintExpression;
    }

    bool replacesRestraintExpression = true;
    // Runs while the document reads, at the question.
    std::function<void()> whenAsked;
    int restraintExpressionQuestions = 0;
};

// Results of a model, read from a stand-in result file: "RESULT\n" then the model text; a file
// starting "BROKEN\n" gives a result with a reading error, anything else a hard error.
class FakeResultData : public UFemResultDataManager {
public:
    explicit FakeResultData(QString modelText, UErrorPtr calculationError = nullptr);

    static QByteArray fileData(const QString& modelText);
    static std::shared_ptr<UFemResultDataManager> read(
        const QByteArray& data, UErrorPtr* readingError, UErrorPtr* error);
    static UFemDataControllerServices services();

    std::optional<QString> projectTitleString() const override { return title; }
    std::optional<QString> projectVersionString() const override { return version; }
    std::optional<QString> projectCommentString() const override { return comment; }
    std::optional<QString> modelText() const override { return modelText_; }
    std::optional<QString> calculationInfoString() const override { return std::nullopt; }
    std::optional<QString> calculationLogString() const override { return std::nullopt; }
    std::optional<QString> calculationErrorString() const override { return std::nullopt; }
    UErrorPtr calculationError() const override { return calculationError_; }
    bool canSynchronizeNodeNoAndCaseNoWithModelData() const override { return true; }
    quint64 nodeCount() const override { return 0; }
    quint64 caseCount() const override { return 0; }
    QStringList nodeCardNameStringArray() const override { return {}; }
    QStringList caseCardNameStringArray() const override { return {}; }
    QStringList caseRestraintCardNameStringArray() const override { return {}; }
    bool getNodeDisplacement(double*, quint8*, quint64, quint64, quint64, std::optional<QString>*,
        UErrorPtr*) const override
    {
        return true;
    }
    std::optional<QByteArray> resultFileData(UErrorPtr*) const override;

    std::optional<QString> title;
    std::optional<QString> version;
    std::optional<QString> comment;

private:
    std::optional<QString> modelText_;
    UErrorPtr calculationError_;
};

// The lock notifications a document posts, in order: "will" and "did".
class LockNotificationRecorder {
public:
    explicit LockNotificationRecorder(const UFemDocument& document);

    // Every will-change followed by its did-change, none nested, at least one pair.
    bool arePaired() const;

    QStringList events;

private:
    UNotificationObservation will_;
    UNotificationObservation did_;
};

// The program's document machinery with recorders for sheets, panels, beeps and questions, the
// card classes installed and a folder for the files of one test.
struct DocumentHarness {
    explicit DocumentHarness(
        const UFemDataControllerServices& services = FakeResultData::services());
    ~DocumentHarness();

    QString path(const QString& name) const;
    void writeFile(const QString& name, const QByteArray& contents) const;
    QByteArray readFile(const QString& name) const;
    // Opens the file; fails the test when it does not open.
    UFemDocument* open(const QString& name);
    UFemDocument* openUntitled(const QString& typeName);
    // The error the file gives when opened.
    UErrorPtr openingError(const QString& name);

    QTemporaryDir folder;
    WindowTracker tracker;
    RecordingSheetPresenter sheets;
    RecordingFilePanels panels;
    DocumentController controller;
    NotifierRecorder beeps;
    RecordingDocumentPrompt prompt;
};

inline const QString TwoNodeModel = QStringLiteral("Node, N1, , 0, 0, 0\nNode, N2, , 1, 0, 0\n");

// The text as a data controller writes it back.
QString canonicalModelText(const QString& modelText);

// The bytes of the file at `path`, empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// Runs queued calls and deferred deletions.
void finishEventTurn();
