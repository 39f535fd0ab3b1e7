#pragma once

// Stand-ins for what a data controller needs of the subsystems above it: a notification spy, a
// document delegate, result data, and services that record their calls.

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemDataControllerDelegate.h"
#include "cardmodel/data/UFemResultDataManager.h"
#include "platform/UNotificationCenter.h"

#include <QStringList>

namespace fakecards {

// Records the names of every notification a centre delivers from one sender.
class NotificationSpy {
public:
    NotificationSpy(UNotificationCenter& center, const void* sender)
        : observation_(center.observe(
            QString(), sender, [this](const UNotification& n) { names.append(n.name); }))
    {
    }
    QStringList take()
    {
        QStringList taken = names;
        names.clear();
        return taken;
    }
    QStringList names;

private:
    UNotificationObservation observation_;
};

class FakeDelegate : public UFemDataControllerDelegate {
public:
    UErrorPtr modelDataLockedErrorWithDataController(const UFemDataController&) override
    {
        return lockError;
    }
    void showCardIdentifierNumberLimitWarningAlert(
        const QString& messageText, const QString& informativeText, quint64 alertStyle) override
    {
        alerts.append({ messageText, informativeText, alertStyle });
    }

    struct Alert {
        QString messageText;
        QString informativeText;
        quint64 alertStyle;
    };
    UErrorPtr lockError;
    QList<Alert> alerts;
};

class FakeResultDataManager : public UFemResultDataManager {
public:
    std::optional<QString> projectTitleString() const override { return std::nullopt; }
    std::optional<QString> projectVersionString() const override { return std::nullopt; }
    std::optional<QString> projectCommentString() const override { return std::nullopt; }
    std::optional<QString> modelText() const override { return text; }
    std::optional<QString> calculationInfoString() const override { return std::nullopt; }
    std::optional<QString> calculationLogString() const override { return std::nullopt; }
    std::optional<QString> calculationErrorString() const override { return std::nullopt; }
    quint64 nodeCount() const override { return 0; }
    quint64 caseCount() const override { return 0; }
    QStringList nodeCardNameStringArray() const override { return {}; }
    QStringList caseCardNameStringArray() const override { return {}; }
    QStringList caseRestraintCardNameStringArray() const override { return {}; }
    bool getNodeDisplacement(double*, quint8*, quint64, quint64, quint64, std::optional<QString>*,
        UErrorPtr*) const override
    {
        return false;
    }
    UErrorPtr calculationError() const override { return error; }
    bool canSynchronizeNodeNoAndCaseNoWithModelData() const override { return canSynchronize; }
    std::optional<QByteArray> resultFileData(UErrorPtr*) const override
    {
        return text ? text->toUtf8() : QByteArray();
    }

    std::optional<QString> text;
    UErrorPtr error;
    bool canSynchronize = true;
};

// Services whose numbering calls are counted; synchronising fails when asked to.
struct RecordingServices {
    int resetCount = 0;
    int synchronizeCount = 0;
    UErrorPtr synchronizeError;

    UFemDataControllerServices services()
    {
        UFemDataControllerServices s;
        s.resetNodeNoAndCaseNo = [this](UFemDataController&) { ++resetCount; };
        s.synchronizeNodeNoAndCaseNoToResultData = [this](UFemDataController&, UErrorPtr* error) {
            ++synchronizeCount;
            if (synchronizeError)
                *error = synchronizeError;
            return !synchronizeError;
        };
        return s;
    }
};

} // namespace fakecards
