#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "cards/UFemCardClasses.h"
#include "documents/document/UFemDocumentNotifications.h"
#include "documents/document/UFemDocumentTypeRegistration.h"
#include "foundation/errors/UFemErrorsFile.h"
#include "foundation/errors/UFemErrorsOther.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

namespace {
const QByteArray ResultHeader = "RESULT\n";
const QByteArray BrokenHeader = "BROKEN\n";
} // namespace

FakeResultData::FakeResultData(QString modelText, UErrorPtr calculationError)
    : modelText_(std::move(modelText))
    , calculationError_(std::move(calculationError))
{
}

QByteArray FakeResultData::fileData(const QString& modelText)
{
    return ResultHeader + modelText.toUtf8();
}

std::shared_ptr<UFemResultDataManager> FakeResultData::read(
    const QByteArray& data, UErrorPtr* readingError, UErrorPtr* error)
{
    if (data.startsWith(ResultHeader)) {
        auto results
            = std::make_shared<FakeResultData>(QString::fromUtf8(data.mid(ResultHeader.size())));
        results->title = QStringLiteral("Bridge");
        results->version = QStringLiteral("v2");
        results->comment = QStringLiteral("load case A");
        return results;
    }
    if (data.startsWith(BrokenHeader)) {
        UFemSetError(readingError, UFemUnknownResultFileTypeError());
        return std::make_shared<FakeResultData>(QString::fromUtf8(data.mid(BrokenHeader.size())));
    }
    UFemSetError(error, UFemUnknownResultFileTypeError());
    return nullptr;
}

UFemDataControllerServices FakeResultData::services()
{
    UFemDataControllerServices services;
    services.makeResultDataManagerWithResultFileData = &FakeResultData::read;
    return services;
}

std::optional<QByteArray> FakeResultData::resultFileData(UErrorPtr*) const
{
    return fileData(modelText_.value_or(QString()));
}

LockNotificationRecorder::LockNotificationRecorder(const UFemDocument& document)
{
    auto& center = UNotificationCenter::defaultCenter();
    will_ = center.observe(UFemDocumentLockStatusWillChangeNotification, &document,
        [this](const UNotification&) { events << QStringLiteral("will"); });
    did_ = center.observe(UFemDocumentLockStatusDidChangeNotification, &document,
        [this](const UNotification&) { events << QStringLiteral("did"); });
}

bool LockNotificationRecorder::arePaired() const
{
    if (events.isEmpty() || events.size() % 2 != 0)
        return false;
    for (qsizetype index = 0; index < events.size(); index += 2) {
        if (events[index] != QStringLiteral("will") || events[index + 1] != QStringLiteral("did"))
            return false;
    }
    return true;
}

DocumentHarness::DocumentHarness(const UFemDataControllerServices& services)
    : controller(sheets, panels, tracker)
{
    UFemInstallCardClasses();
    UFemRegisterDocumentTypes(controller, services, &prompt);
}

DocumentHarness::~DocumentHarness()
{
    for (Document* document : controller.documents())
        controller.removeDocument(document);
    finishEventTurn();
}

QString DocumentHarness::path(const QString& name) const
{
    return folder.filePath(name);
}

void DocumentHarness::writeFile(const QString& name, const QByteArray& contents) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray DocumentHarness::readFile(const QString& name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

UFemDocument* DocumentHarness::open(const QString& name)
{
    UErrorPtr error;
    Document* document = controller.openDocument(path(name), false, &error);
    EXPECT_NE(document, nullptr) << (error ? error->localizedDescription().toStdString() : "");
    return dynamic_cast<UFemDocument*>(document);
}

UFemDocument* DocumentHarness::openUntitled(const QString& typeName)
{
    UErrorPtr error;
    return dynamic_cast<UFemDocument*>(
        controller.openUntitledDocumentOfType(typeName, false, &error));
}

UErrorPtr DocumentHarness::openingError(const QString& name)
{
    UErrorPtr error;
    EXPECT_EQ(controller.openDocument(path(name), false, &error), nullptr);
    return error;
}

QString canonicalModelText(const QString& modelText)
{
    UFemInstallCardClasses();
    UFemDataController model;
    UErrorPtr error;
    EXPECT_TRUE(model.resetWithModelText(modelText, true, &error));
    return model.modelTextOfAllCards();
}

void finishEventTurn()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
