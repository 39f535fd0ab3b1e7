#include "tools/divider/UFemToolElementDividerStorage.h"

namespace {

const QString LineFeed = QStringLiteral("\n");

// The heading with its count, the lines and, when there were any, an empty line after them.
void appendSection(QString& text, const QString& headingFormat, const QStringList& lines)
{
    text += headingFormat.arg(lines.size()) + LineFeed;
    for (const QString& line : lines) {
        text += line;
        text += LineFeed;
    }
    text += LineFeed;
}

} // namespace

UFemToolElementDividerStorage::UFemToolElementDividerStorage(double nodeLocationEpsilon)
    : nodeLocationEpsilon_(nodeLocationEpsilon)
{
}

void UFemToolElementDividerStorage::addDividedElementCardString(const QString& cardString)
{
    dividedElementCardStringArray_.append(cardString);
}

void UFemToolElementDividerStorage::addUnchangedCardString(const QString& cardString)
{
    unchangedCardStringArray_.append(cardString);
}

const UFemToolElementDividerStorageNodeInfo* UFemToolElementDividerStorage::nodeInfoNamed(
    const QString& name) const
{
    const auto it = surfaceNodeInfoDictionary_.constFind(name);
    return it == surfaceNodeInfoDictionary_.cend() ? nullptr : &surfaceNodeInfoArray_[*it];
}

void UFemToolElementDividerStorage::registerNode(const QString& name, const double location[3])
{
    surfaceNodeInfoDictionary_.insert(name, surfaceNodeInfoArray_.size());
    surfaceNodeInfoArray_.emplace_back(name, location);
}

void UFemToolElementDividerStorage::addWarning(const QString& warning)
{
    didExistWarning_ = true;
    warningStringArray_.append(warning);
}

std::optional<QString> UFemToolElementDividerStorage::addDividingNode(
    const QString& nodeNameString, const double location[3])
{
    const UFemToolElementDividerStorageNodeInfo* existing = nodeInfoNamed(nodeNameString);
    if (existing == nullptr) {
        registerNode(nodeNameString, location);
        return std::nullopt;
    }
    if (existing->isAtLocation(location, nodeLocationEpsilon_))
        return std::nullopt;
    for (quint64 n = 2; n <= lastRenamingNumber; ++n) {
        const QString candidate = nodeNameString + QStringLiteral("_@%1@").arg(n);
        const UFemToolElementDividerStorageNodeInfo* taken = nodeInfoNamed(candidate);
        if (taken == nullptr) {
            registerNode(candidate, location);
            addWarning(QStringLiteral("Warning - Same node name '%1' created on different "
                                      "location, so changed to name '%2'.")
                           .arg(nodeNameString, candidate));
            return candidate;
        }
        if (taken->isAtLocation(location, nodeLocationEpsilon_))
            return candidate;
    }
    addWarning(QStringLiteral("Warning - Lots of nodes with same name '%1' created on different "
                              "location, and still conflict the name. so canceled.")
                   .arg(nodeNameString));
    return std::nullopt;
}

QString UFemToolElementDividerStorage::nodeCardString(
    const UFemToolElementDividerStorageNodeInfo& info, const UFemNumberFormatter& formatter)
{
    double location[3];
    info.getNodeLocation(location);
    return QStringLiteral("Node , ") + info.nodeNameString() + QStringLiteral(" ,  , ")
        + formatter.stringWithValue(location[0]) + QStringLiteral(" , ")
        + formatter.stringWithValue(location[1]) + QStringLiteral(" , ")
        + formatter.stringWithValue(location[2]) + QStringLiteral(" ,");
}

QString UFemToolElementDividerStorage::modelText() const
{
    // Coordinates keep the precision of written model files.
    const UFemNumberFormatter writingFileFormatter
        = UFemNumberFormatter::defaultWritingFileNumberFormatter();
    QString text;
    text += QStringLiteral("\\ *** Cards by dividing elements ***\n\n");
    if (didExistWarning_) {
        text += QStringLiteral("\n\\ *** Warning ***");
        text += warningStringArray_.join(LineFeed);
        text += QStringLiteral("\n\n");
    }
    appendSection(
        text, QStringLiteral("\\ Unchanged cards ( %1 cards )"), unchangedCardStringArray_);
    QStringList nodeLines;
    nodeLines.reserve(qsizetype(surfaceNodeInfoArray_.size()));
    const UFemNumberFormatter& formatter = nodeLocationNumberFormatter_ != nullptr
        ? *nodeLocationNumberFormatter_
        : writingFileFormatter;
    for (const UFemToolElementDividerStorageNodeInfo& info : surfaceNodeInfoArray_)
        nodeLines.append(nodeCardString(info, formatter));
    appendSection(
        text, QStringLiteral("\\ Node cards created for divided elements ( %1 cards )"), nodeLines);
    appendSection(text, QStringLiteral("\\ Divided element cards ( %1 cards )"),
        dividedElementCardStringArray_);
    text += QStringLiteral("\\ *** End of written cards by dividing elements ***\n");
    return text;
}
