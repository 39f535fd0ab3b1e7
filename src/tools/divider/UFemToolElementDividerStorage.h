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
    // Room for the element lines (their line feeds included), so that their block never moves.
    void reserveDividedElementCharacters(qsizetype characters)
    {
        dividedElementText_.reserve(characters);
    }
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
    quint64 numberOfDividedElementCardStrings() const { return dividedElementCount_; }

    // The model text of the run. It empties the storage as it writes, so that the text and the
    // storage's share of it are not held whole together.
    QString takeModelText();

private:
    static constexpr quint64 lastRenamingNumber = 99;

    const UFemToolElementDividerStorageNodeInfo* nodeInfoNamed(const QString& name) const;
    void registerNode(const QString& name, const double location[3]);
    void addWarning(const QString& warning);
    // The Node lines, the registry emptied behind them.
    void takeNodeCardStrings(QString& text);
    static void appendNodeCardString(QString& text,
        const UFemToolElementDividerStorageNodeInfo& info, const UFemNumberFormatter& formatter);

    std::vector<UFemToolElementDividerStorageNodeInfo> surfaceNodeInfoArray_;
    // Name to index in surfaceNodeInfoArray_.
    QHash<QString, quint64> surfaceNodeInfoDictionary_;
    // The element lines, each ending in a line feed, in one block: one allocation, not one a line.
    QString dividedElementText_;
    quint64 dividedElementCount_ = 0;
    QStringList unchangedCardStringArray_;
    bool didExistWarning_ = false;
    QStringList warningStringArray_;
    double nodeLocationEpsilon_;
    const UFemNumberFormatter* nodeLocationNumberFormatter_ = nullptr;
};
