#pragma once

#include "foundation/strings/UFemNumberFormatter.h"
#include "tools/divider/UFemToolElementDividerStorageNodeInfo.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What one run of the element divider makes, gathered for its model text: the nodes it creates
// (a registry by name, so that a node shared by neighbouring elements is created once), the lines
// of the new element cards, the lines of the cards passed through unchanged and the warnings.
class UFemToolElementDividerStorage {
public:
    static constexpr double defaultNodeLocationEpsilon = 1e-6;

    explicit UFemToolElementDividerStorage(double nodeLocationEpsilon = defaultNodeLocationEpsilon);

    double nodeLocationEpsilon() const { return nodeLocationEpsilon_; }
    // Formats the Node coordinates; the written-file formatter when none is set. Not owned.
    void setNodeLocationNumberFormatter(const UFemNumberFormatter* formatter)
    {
        nodeLocationNumberFormatter_ = formatter;
    }

    void addDividedElementCardString(const QString& cardString);
    void addUnchangedCardString(const QString& cardString);
    // Registers the node unless the name is taken at the same location. Answers the name the
    // caller must use instead of the one asked for, or nothing to keep that one.
    std::optional<QString> addDividingNode(const QString& nodeNameString, const double location[3]);

    bool didExistWarning() const { return didExistWarning_; }
    const QStringList& warningStrings() const { return warningStringArray_; }
    const std::vector<UFemToolElementDividerStorageNodeInfo>& nodeInfos() const
    {
        return surfaceNodeInfoArray_;
    }
    quint64 numberOfDividedElementCardStrings() const
    {
        return dividedElementCardStringArray_.size();
    }

    QString modelText() const;

private:
    static constexpr quint64 lastRenamingNumber = 99;

    const UFemToolElementDividerStorageNodeInfo* nodeInfoNamed(const QString& name) const;
    void registerNode(const QString& name, const double location[3]);
    void addWarning(const QString& warning);
    static void appendNodeCardString(QString& text,
        const UFemToolElementDividerStorageNodeInfo& info, const UFemNumberFormatter& formatter);

    std::vector<UFemToolElementDividerStorageNodeInfo> surfaceNodeInfoArray_;
    // Name to index in surfaceNodeInfoArray_.
    QHash<QString, quint64> surfaceNodeInfoDictionary_;
    QStringList dividedElementCardStringArray_;
    QStringList unchangedCardStringArray_;
    bool didExistWarning_ = false;
    QStringList warningStringArray_;
    double nodeLocationEpsilon_;
    const UFemNumberFormatter* nodeLocationNumberFormatter_ = nullptr;
};
