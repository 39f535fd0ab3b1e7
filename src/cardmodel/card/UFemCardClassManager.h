#pragma once

#include "cardmodel/card/UFemCardValueType.h"
#include "cardmodel/card/UFemMajorCardValueTypeRecord.h"
#include "cardmodel/card/UFemMenuItemDescription.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <shared_mutex>
#include <span>
#include <unordered_map>
#include <vector>

class UFemCardClass;

// The card classes by label and in menu order, and the card value types by name and word.
// Lookups are safe on worker threads; registration and the menus belong to the main thread.
class UFemCardClassManager {
public:
    // Registers the built-in value types, then the given classes in their order.
    explicit UFemCardClassManager(std::span<const UFemCardClass* const> cardClasses = {});
    UFemCardClassManager(const UFemCardClassManager&) = delete;
    UFemCardClassManager& operator=(const UFemCardClassManager&) = delete;

    // The classes the shared registry installs; set once at start-up, before its first use, by
    // the one place that knows the card classes.
    static void setSharedCardClasses(std::vector<const UFemCardClass*> cardClasses);
    static UFemCardClassManager& sharedCardClassManager();

    // A class with the label of a registered one replaces it. The class's value types are
    // registered on its first registration.
    void registerCardClass(const UFemCardClass& cardClass);
    void installCardClass(std::span<const UFemCardClass* const> cardClasses);
    const UFemCardClass& nullCardClass() const;
    const UFemCardClass& errorCardClass() const;
    [[nodiscard]] const UFemCardClass* kindOfCardClassWithCardLabelString(
        const QString& cardLabelString, UErrorPtr* error) const;

    // Menu order: card type, then menu order hint, then label.
    std::vector<const UFemCardClass*> makeCardClassArrayByMenuTag() const;
    // Inserts an item per class from `index` on (tag 1000 + menu position), with a separator
    // before each change of card type.
    void insertCardMenuItemToMenu(std::vector<UFemMenuItemDescription>& menu, qsizetype index);
    const UFemCardClass* cardClassOfCardMenuTag(qint64 tag);
    qint64 menuTagOfCardClass(const UFemCardClass& cardClass);

    // Registers a major type, or confirms one registered with the same count and flags.
    quint32 majorCardValueTypeWithMajorCardValueTypeString(const QString& majorCardValueTypeString,
        quint32 numberOfVectorValues, bool isPointRelated, bool isCaseRelated,
        bool isCalcResultRelated, const std::optional<QStringList>& vectorValueLabelStringArray);
    // 0 when the name is not registered.
    quint32 majorCardValueTypeWithMajorCardValueTypeString(
        const QString& majorCardValueTypeString) const;
    std::optional<QString> majorCardValueTypeStringWithMajorCardValueType(
        quint32 majorCardValueType) const;
    // Registers an unknown name under the next number.
    quint32 minorCardValueTypeWithMinorCardValueTypeString(const QString& minorCardValueTypeString);
    std::optional<QString> minorCardValueTypeStringWithMinorCardValueType(
        quint32 minorCardValueType) const;
    QString cardValueTypeStringWithCardValueType(_UFemCardValueType cardValueType) const;
    QStringList cardValueVectorValueLabelStringArrayWithCardValueType(
        _UFemCardValueType cardValueType) const;

private:
    void registerBuiltInCardValueTypes();
    void registerCardClass_whileLocked(const UFemCardClass& cardClass);
    const std::vector<const UFemCardClass*>& cardClassArrayByMenuTag_whileLocked();
    const UFemMajorCardValueTypeRecord* majorRecord_whileLocked(quint32 majorCardValueType) const;
    std::optional<QString> minorName_whileLocked(quint32 minorCardValueType) const;

    mutable std::shared_mutex lock_;
    // Standard maps: a failed insert into a QHash ends the program (its insert is noexcept).
    std::unordered_map<QString, const UFemCardClass*> cardClassDictionary_;
    // In registration order, so that the menu order does not depend on hashing.
    std::vector<const UFemCardClass*> registeredCardClasses_;
    std::vector<const UFemCardClass*> cardClassArrayByMenuTag_;
    bool hasCardClassArrayByMenuTag_ = false;
    std::unordered_map<QString, quint32> majorCardValueTypeStringKeyDictionary_;
    // Entry 0 stands for no type; the identifier number is the index.
    std::vector<UFemMajorCardValueTypeRecord> majorCardValueTypeIdentifierNumberIndexArray_;
    std::unordered_map<QString, quint32> minorCardValueTypeStringKeyDictionary_;
    std::vector<QString> minorCardValueTypeNumberIndexArray_;
};

// Orders classes for the card menus: card type, then menu order hint, then label.
int UFemCompareCardClassForMenu(const UFemCardClass& a, const UFemCardClass& b);
