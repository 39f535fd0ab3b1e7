#include "tools/divider/UFemToolElementDividerStorage.h"

#include "platform/UAvailableMemory.h"

namespace {

const QString LineFeed = QStringLiteral("\n");

// Characters of a Node line beside its name: the fixed text and three coordinates.
constexpr qsizetype NodeLineCharacters = 80;

// The heading with its count.
void appendHeading(QString& text, const QString& headingFormat, qsizetype count)
{
    text += headingFormat.arg(count) + LineFeed;
}

// The lines, then an empty line.
void appendLines(QString& text, const QStringList& lines)
{
    for (const QString& line : lines) {
        text += line;
        text += LineFeed;
    }
    text += LineFeed;
}

qsizetype charactersOf(const QStringList& lines)
{
    qsizetype characters = 0;
    for (const QString& line : lines)
        characters += line.size() + 1;
    return characters;
}

} // namespace

UFemToolElementDividerStorage::UFemToolElementDividerStorage(double nodeLocationEpsilon)
    : nodeLocationEpsilon_(nodeLocationEpsilon)
{
}

void UFemToolElementDividerStorage::addDividedElementCardString(const QString& cardString)
{
    dividedElementText_ += cardString;
    dividedElementText_ += LineFeed;
    ++dividedElementCount_;
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

void UFemToolElementDividerStorage::appendNodeCardString(QString& text,
    const UFemToolElementDividerStorageNodeInfo& info, const UFemNumberFormatter& formatter)
{
    double location[3];
    info.getNodeLocation(location);
    text += QStringLiteral("Node , ");
    text += info.nodeNameString();
    text += QStringLiteral(" ,  , ");
    for (int axis = 0; axis < 3; ++axis) {
        text += formatter.stringWithValue(location[axis]);
        text += QStringLiteral(" ,");
        text += axis < 2 ? QStringLiteral(" ") : LineFeed;
    }
}

QString UFemToolElementDividerStorage::takeModelText()
{
    qsizetype characters = charactersOf(warningStringArray_)
        + charactersOf(unchangedCardStringArray_) + dividedElementText_.size() + 1024;
    for (const UFemToolElementDividerStorageNodeInfo& info : surfaceNodeInfoArray_)
        characters += info.nodeNameString().size() + NodeLineCharacters;
    QString text;
    text.reserve(characters);
    text += QStringLiteral("\\ *** Cards by dividing elements ***\n\n");
    if (didExistWarning_) {
        text += QStringLiteral("\n\\ *** Warning ***");
        text += warningStringArray_.join(LineFeed);
        text += QStringLiteral("\n\n");
    }
    appendHeading(
        text, QStringLiteral("\\ Unchanged cards ( %1 cards )"), unchangedCardStringArray_.size());
    appendLines(text, unchangedCardStringArray_);
    unchangedCardStringArray_.clear();
    takeNodeCardStrings(text);
    appendHeading(text, QStringLiteral("\\ Divided element cards ( %1 cards )"),
        qsizetype(dividedElementCount_));
    text += dividedElementText_;
    text += LineFeed;
    dividedElementText_ = {};
    dividedElementCount_ = 0;
    text += QStringLiteral("\\ *** End of written cards by dividing elements ***\n");
    return text;
}

void UFemToolElementDividerStorage::takeNodeCardStrings(QString& text)
{
    // Coordinates keep the precision of written model files.
    const UFemNumberFormatter writingFileFormatter
        = UFemNumberFormatter::defaultWritingFileNumberFormatter();
    const UFemNumberFormatter& formatter = nodeLocationNumberFormatter_ != nullptr
        ? *nodeLocationNumberFormatter_
        : writingFileFormatter;
    appendHeading(text, QStringLiteral("\\ Node cards created for divided elements ( %1 cards )"),
        qsizetype(surfaceNodeInfoArray_.size()));
    for (const UFemToolElementDividerStorageNodeInfo& info : surfaceNodeInfoArray_)
        appendNodeCardString(text, info, formatter);
    text += LineFeed;
    surfaceNodeInfoDictionary_ = {};
    surfaceNodeInfoArray_ = {};
    // The names and entries are many small blocks the allocator would keep beside the text.
    UReturnFreedMemoryToSystem();
}
