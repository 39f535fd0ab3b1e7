#include "cardmodel/card/UFemCardClassManager.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/text/UFemColumnValueParsing.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsEditCard.h"
#include "foundation/strings/UFormattedString.h"

#include <QCoreApplication>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <utility>

namespace {

constexpr qint64 firstCardMenuTag = 1000;
constexpr quint32 maximumNumberOfVectorValues = 255;

struct BuiltInMajorCardValueType {
    const char* name;
    quint32 numberOfVectorValues;
    bool isResult; // point-, case- and calculation-result-related
    bool isPointRelated;
    std::vector<const char*> labels;
};

const std::vector<BuiltInMajorCardValueType>& builtInMajorCardValueTypes()
{
    static const std::vector<BuiltInMajorCardValueType> types {
        { "Displacement", 6, true, true,
            { "Displacement-Tx", "Displacement-Ty", "Displacement-Tz", "Displacement-Rx",
                "Displacement-Ry", "Displacement-Rz" } },
        { "VonMisesStress", 1, true, true, { "VonMisesStress" } },
        { "PrincipalStress", 3, true, true, { "PrincipalStress" } },
        { "ShellForce", 9, true, true,
            { "ShellForce-Fx/l", "ShellForce-Fy/l", "ShellForce-Fz/l", "ShellForce-Fyz/l",
                "ShellForce-Fzx/l", "ShellForce-Fxy/l", "ShellForce-Mx/l", "ShellForce-My/l",
                "ShellForce-Mxy/l" } },
        { "ElementStress", 6, true, true,
            { "ElementStress-SIGMAx", "ElementStress-SIGMAy", "ElementStress-SIGMAz",
                "ElementStress-SIGMAyz", "ElementStress-SIGMAzx", "ElementStress-SIGMAxy" } },
        { "ElementStrain", 6, true, true,
            { "ElementStrain-Ex", "ElementStrain-Ey", "ElementStrain-Ez", "ElementStrain-Eyz",
                "ElementStrain-Ezx", "ElementStrain-Exy" } },
        { "ElementNodeForce", 6, true, true,
            { "ElementNodeForce-Fx", "ElementNodeForce-Fy", "ElementNodeForce-Fz",
                "ElementNodeForce-Mx", "ElementNodeForce-My", "ElementNodeForce-Mz" } },
        { "Location", 3, false, true, { "Location" } },
        { "Volume", 1, false, false, { "Volume" } },
        { "Thickness", 1, false, false, { "Thickness" } },
        { "YoungsModulus", 1, false, false, { "YoungsModulus" } },
        { "PoissonsRatio", 1, false, false, { "PoissonsRatio" } },
        { "ClipboardCardValue", 1, false, false, { "ClipboardCardValue" } },
    };
    return types;
}

const char* const builtInMinorCardValueTypes[]
    = { "node", "shellFace", "gaussPoint", "shellFaceGaussPoint" };

QString cardValueLabelString(const char* label)
{
    return QCoreApplication::translate("CardValueLabelString", label);
}

std::mutex sharedCardClassesLock;
std::vector<const UFemCardClass*> sharedCardClasses;
std::atomic<bool> isSharedCardClassManagerMade { false };

} // namespace

int UFemCompareCardClassForMenu(const UFemCardClass& a, const UFemCardClass& b)
{
    if (a.cardType() != b.cardType())
        return a.cardType() < b.cardType() ? -1 : 1;
    if (a.cardMenuOrderHintNo() != b.cardMenuOrderHintNo())
        return a.cardMenuOrderHintNo() < b.cardMenuOrderHintNo() ? -1 : 1;
    return a.cardLabelString().compare(b.cardLabelString());
}

UFemCardClassManager::UFemCardClassManager(std::span<const UFemCardClass* const> cardClasses)
{
    majorCardValueTypeIdentifierNumberIndexArray_.reserve(20);
    majorCardValueTypeIdentifierNumberIndexArray_.emplace_back();
    minorCardValueTypeNumberIndexArray_.reserve(10);
    minorCardValueTypeNumberIndexArray_.emplace_back();
    registerBuiltInCardValueTypes();
    installCardClass(cardClasses);
}

void UFemCardClassManager::registerBuiltInCardValueTypes()
{
    for (const BuiltInMajorCardValueType& type : builtInMajorCardValueTypes()) {
        QStringList labels;
        for (const char* label : type.labels)
            labels.append(cardValueLabelString(label));
        majorCardValueTypeWithMajorCardValueTypeString(QString::fromLatin1(type.name),
            type.numberOfVectorValues, type.isPointRelated, type.isResult, type.isResult, labels);
    }
    for (const char* name : builtInMinorCardValueTypes)
        minorCardValueTypeWithMinorCardValueTypeString(QString::fromLatin1(name));
}

void UFemCardClassManager::setSharedCardClasses(std::vector<const UFemCardClass*> cardClasses)
{
    if (isSharedCardClassManagerMade.load())
        UFemRaiseProgramError(QStringLiteral("The card class manager is already made."));
    std::lock_guard guard(sharedCardClassesLock);
    sharedCardClasses = std::move(cardClasses);
}

UFemCardClassManager& UFemCardClassManager::sharedCardClassManager()
{
    static UFemCardClassManager* const shared = [] {
        isSharedCardClassManagerMade.store(true);
        std::lock_guard guard(sharedCardClassesLock);
        return new UFemCardClassManager(sharedCardClasses);
    }();
    return *shared;
}

void UFemCardClassManager::registerCardClass(const UFemCardClass& cardClass)
{
    bool isNew = false;
    {
        std::shared_lock guard(lock_);
        isNew = std::find(registeredCardClasses_.begin(), registeredCardClasses_.end(), &cardClass)
            == registeredCardClasses_.end();
    }
    // The class's value types go into this registry, before the class can be looked up.
    if (isNew)
        cardClass.registerCardValueTypes(*this);
    std::unique_lock guard(lock_);
    registerCardClass_whileLocked(cardClass);
}

void UFemCardClassManager::registerCardClass_whileLocked(const UFemCardClass& cardClass)
{
    const QString label = cardClass.cardLabelString();
    // Room first, so that a failure changes nothing.
    registeredCardClasses_.reserve(registeredCardClasses_.size() + 1);
    const auto [entry, isNew] = cardClassDictionary_.try_emplace(label, &cardClass);
    if (!isNew)
        std::erase(registeredCardClasses_, std::exchange(entry->second, &cardClass));
    std::erase(registeredCardClasses_, &cardClass);
    registeredCardClasses_.push_back(&cardClass);
    hasCardClassArrayByMenuTag_ = false;
}

void UFemCardClassManager::installCardClass(std::span<const UFemCardClass* const> cardClasses)
{
    for (const UFemCardClass* cardClass : cardClasses)
        registerCardClass(*cardClass);
}

const UFemCardClass& UFemCardClassManager::nullCardClass() const
{
    return NullCard::nullCardClass();
}

const UFemCardClass& UFemCardClassManager::errorCardClass() const
{
    return ErrorCard::errorCardClass();
}

const UFemCardClass* UFemCardClassManager::kindOfCardClassWithCardLabelString(
    const QString& cardLabelString, UErrorPtr* error) const
{
    UErrorPtr failure;
    const std::optional<QString> label = UFemTrimmedCardNameString(cardLabelString, &failure);
    const UFemCardClass* cardClass = nullptr;
    if (!failure && !label) {
        failure = UFemEmptyCardClassNameError();
    } else if (!failure) {
        std::shared_lock guard(lock_);
        const auto found = cardClassDictionary_.find(*label);
        cardClass = found != cardClassDictionary_.end() ? found->second : nullptr;
        if (cardClass == nullptr)
            failure = UFemUnknownCardClassError_withCardClassNameString(*label);
    }
    if (failure)
        UFemSetError(error, failure);
    return cardClass;
}

std::vector<const UFemCardClass*> UFemCardClassManager::makeCardClassArrayByMenuTag() const
{
    std::vector<const UFemCardClass*> classes;
    {
        std::shared_lock guard(lock_);
        classes = registeredCardClasses_;
    }
    std::stable_sort(
        classes.begin(), classes.end(), [](const UFemCardClass* a, const UFemCardClass* b) {
            return UFemCompareCardClassForMenu(*a, *b) < 0;
        });
    return classes;
}

const std::vector<const UFemCardClass*>& UFemCardClassManager::cardClassArrayByMenuTag_whileLocked()
{
    if (!hasCardClassArrayByMenuTag_) {
        cardClassArrayByMenuTag_ = registeredCardClasses_;
        std::stable_sort(cardClassArrayByMenuTag_.begin(), cardClassArrayByMenuTag_.end(),
            [](const UFemCardClass* a, const UFemCardClass* b) {
                return UFemCompareCardClassForMenu(*a, *b) < 0;
            });
        hasCardClassArrayByMenuTag_ = true;
    }
    return cardClassArrayByMenuTag_;
}

void UFemCardClassManager::insertCardMenuItemToMenu(
    std::vector<UFemMenuItemDescription>& menu, qsizetype index)
{
    std::unique_lock guard(lock_);
    const std::vector<const UFemCardClass*>& classes = cardClassArrayByMenuTag_whileLocked();
    std::vector<UFemMenuItemDescription> items;
    for (std::size_t position = 0; position < classes.size(); ++position) {
        if (position > 0 && classes[position]->cardType() != classes[position - 1]->cardType())
            items.push_back(UFemMenuItemDescription::separator());
        items.push_back(
            { classes[position]->cardLabelString(), firstCardMenuTag + qint64(position), false });
    }
    const qsizetype at = std::clamp<qsizetype>(index, 0, qsizetype(menu.size()));
    menu.insert(menu.begin() + at, items.begin(), items.end());
}

const UFemCardClass* UFemCardClassManager::cardClassOfCardMenuTag(qint64 tag)
{
    std::unique_lock guard(lock_);
    const std::vector<const UFemCardClass*>& classes = cardClassArrayByMenuTag_whileLocked();
    const qint64 position = tag - firstCardMenuTag;
    if (position < 0 || position >= qint64(classes.size()))
        URaiseRangeException();
    return classes[std::size_t(position)];
}

qint64 UFemCardClassManager::menuTagOfCardClass(const UFemCardClass& cardClass)
{
    std::unique_lock guard(lock_);
    const std::vector<const UFemCardClass*>& classes = cardClassArrayByMenuTag_whileLocked();
    const auto found = std::find(classes.begin(), classes.end(), &cardClass);
    if (found == classes.end())
        UFemRaiseProgramError(QStringLiteral("aKindOfCardClass was not found."));
    return firstCardMenuTag + qint64(found - classes.begin());
}

quint32 UFemCardClassManager::majorCardValueTypeWithMajorCardValueTypeString(
    const QString& majorCardValueTypeString, quint32 numberOfVectorValues, bool isPointRelated,
    bool isCaseRelated, bool isCalcResultRelated,
    const std::optional<QStringList>& vectorValueLabelStringArray)
{
    const quint32 flags = (isPointRelated ? UFemCardValueTypePointRelatedBit : 0u)
        | (isCaseRelated ? UFemCardValueTypeCaseRelatedBit : 0u)
        | (isCalcResultRelated ? UFemCardValueTypeCalcResultRelatedBit : 0u);
    std::unique_lock guard(lock_);
    if (const auto found = majorCardValueTypeStringKeyDictionary_.find(majorCardValueTypeString);
        found != majorCardValueTypeStringKeyDictionary_.end()) {
        const quint32 word = found->second;
        const quint32 storedFlags = word
            & (UFemCardValueTypePointRelatedBit | UFemCardValueTypeCaseRelatedBit
                | UFemCardValueTypeCalcResultRelatedBit);
        if (UFemCardValueTypeNumberOfVectorValues({ word, 0 }) != numberOfVectorValues
            || storedFlags != flags)
            UFemRaiseCardClassProgramError(
                QStringLiteral("'numOfValue', 'isPointRelated', or 'isCaseRelated' is different."));
        return word;
    }
    const quint32 identifierNumber = quint32(majorCardValueTypeIdentifierNumberIndexArray_.size());
    if (numberOfVectorValues == 0 || numberOfVectorValues > maximumNumberOfVectorValues
        || identifierNumber > UFemCardValueTypeIdentifierMask)
        UFemRaiseCardClassProgramError(QStringLiteral("The card value type can't be registered."));
    UFemMajorCardValueTypeRecord record;
    record.majorCardValueType = flags | (numberOfVectorValues << UFemCardValueTypeVectorCountShift)
        | (identifierNumber << UFemCardValueTypeIdentifierShift);
    record.majorCardValueTypeString = majorCardValueTypeString;
    if (vectorValueLabelStringArray) {
        record.vectorValueLabelStringArray = *vectorValueLabelStringArray;
    } else if (numberOfVectorValues == 1) {
        record.vectorValueLabelStringArray = { majorCardValueTypeString };
    } else {
        for (quint32 i = 1; i <= numberOfVectorValues; ++i)
            record.vectorValueLabelStringArray.append(
                UFormattedString("%@-%lu", majorCardValueTypeString, i));
    }
    const quint32 majorCardValueType = record.majorCardValueType;
    majorCardValueTypeIdentifierNumberIndexArray_.push_back(std::move(record));
    try {
        majorCardValueTypeStringKeyDictionary_.emplace(
            majorCardValueTypeString, majorCardValueType);
    } catch (...) {
        majorCardValueTypeIdentifierNumberIndexArray_.pop_back();
        throw;
    }
    return majorCardValueType;
}

quint32 UFemCardClassManager::majorCardValueTypeWithMajorCardValueTypeString(
    const QString& majorCardValueTypeString) const
{
    std::shared_lock guard(lock_);
    const auto found = majorCardValueTypeStringKeyDictionary_.find(majorCardValueTypeString);
    return found != majorCardValueTypeStringKeyDictionary_.end() ? found->second : 0;
}

const UFemMajorCardValueTypeRecord* UFemCardClassManager::majorRecord_whileLocked(
    quint32 majorCardValueType) const
{
    const quint32 identifierNumber = UFemMajorCardValueTypeIdentifierNumber(majorCardValueType);
    if (identifierNumber == 0
        || identifierNumber >= majorCardValueTypeIdentifierNumberIndexArray_.size())
        return nullptr;
    return &majorCardValueTypeIdentifierNumberIndexArray_[identifierNumber];
}

std::optional<QString> UFemCardClassManager::majorCardValueTypeStringWithMajorCardValueType(
    quint32 majorCardValueType) const
{
    std::shared_lock guard(lock_);
    const UFemMajorCardValueTypeRecord* record = majorRecord_whileLocked(majorCardValueType);
    return record != nullptr ? std::optional<QString>(record->majorCardValueTypeString)
                             : std::nullopt;
}

quint32 UFemCardClassManager::minorCardValueTypeWithMinorCardValueTypeString(
    const QString& minorCardValueTypeString)
{
    {
        std::shared_lock guard(lock_);
        if (const auto found
            = minorCardValueTypeStringKeyDictionary_.find(minorCardValueTypeString);
            found != minorCardValueTypeStringKeyDictionary_.end())
            return found->second;
    }
    std::unique_lock guard(lock_);
    // Another thread may have registered it meanwhile.
    if (const auto found = minorCardValueTypeStringKeyDictionary_.find(minorCardValueTypeString);
        found != minorCardValueTypeStringKeyDictionary_.end())
        return found->second;
    const quint32 number = quint32(minorCardValueTypeNumberIndexArray_.size());
    minorCardValueTypeNumberIndexArray_.push_back(minorCardValueTypeString);
    try {
        minorCardValueTypeStringKeyDictionary_.emplace(minorCardValueTypeString, number);
    } catch (...) {
        minorCardValueTypeNumberIndexArray_.pop_back();
        throw;
    }
    return number;
}

std::optional<QString> UFemCardClassManager::minorName_whileLocked(quint32 minorCardValueType) const
{
    if (minorCardValueType == 0 || minorCardValueType >= minorCardValueTypeNumberIndexArray_.size())
        return std::nullopt;
    return minorCardValueTypeNumberIndexArray_[minorCardValueType];
}

std::optional<QString> UFemCardClassManager::minorCardValueTypeStringWithMinorCardValueType(
    quint32 minorCardValueType) const
{
    std::shared_lock guard(lock_);
    return minorName_whileLocked(minorCardValueType);
}

QString UFemCardClassManager::cardValueTypeStringWithCardValueType(
    _UFemCardValueType cardValueType) const
{
    std::shared_lock guard(lock_);
    const UFemMajorCardValueTypeRecord* record
        = majorRecord_whileLocked(cardValueType.majorCardValueType);
    const QString major = record != nullptr ? record->majorCardValueTypeString : QString();
    const std::optional<QString> minor = minorName_whileLocked(cardValueType.minorCardValueType);
    return minor ? UFormattedString("%@@%@", major, *minor) : major;
}

QStringList UFemCardClassManager::cardValueVectorValueLabelStringArrayWithCardValueType(
    _UFemCardValueType cardValueType) const
{
    std::shared_lock guard(lock_);
    const UFemMajorCardValueTypeRecord* record
        = majorRecord_whileLocked(cardValueType.majorCardValueType);
    if (record == nullptr)
        return {};
    const std::optional<QString> minor = minorName_whileLocked(cardValueType.minorCardValueType);
    if (!minor)
        return record->vectorValueLabelStringArray;
    QStringList labels;
    for (const QString& label : record->vectorValueLabelStringArray)
        labels.append(UFormattedString("%@@%@", label, *minor));
    return labels;
}
