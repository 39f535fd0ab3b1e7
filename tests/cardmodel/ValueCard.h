#pragma once

// A card with programmable card values, for the value expression tests: per value type the
// size it answers, the values it gives (or an error), and the case it was last asked with.

#include "FakeCardClasses.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <utility>
#include <vector>

namespace fakecards {

class ValueCard : public FakeCard {
public:
    struct Entry {
        _UFemCardValueArraySize size;
        std::vector<double> values;
        UErrorPtr error;
    };

    ValueCard(const QString& name, UFemCardDataController* dataController)
        : FakeCard(fakeCardClass(QStringLiteral("Node")), shape(), dataController)
        , name_(name)
    {
    }
    ~ValueCard() override = default;

    // Answers `typeName` ("Major" or "Major@minor") with the given shape and values.
    void setValues(const QString& typeName, quint16 points, quint16 sectionPoints,
        quint16 vectorValues, std::vector<double> values)
    {
        entries_[typeOf(typeName)]
            = { { 0, points, sectionPoints, vectorValues }, std::move(values), nullptr };
    }
    void setValueError(const QString& typeName, quint16 vectorValues, UErrorPtr error)
    {
        entries_[typeOf(typeName)] = { { 0, 1, 1, vectorValues }, {}, std::move(error) };
    }

    std::optional<QString> cardNameString() const override { return name_; }
    bool getCardValueArraySize(
        _UFemCardValueArraySize* size, _UFemCardValueType type) const override
    {
        const auto found = entries_.find(key(type));
        if (found == entries_.end())
            return FakeCard::getCardValueArraySize(size, type);
        *size = found->second.size;
        return true;
    }
    bool getCardValue(double* value, _UFemCardValueType type, const UFemCard* caseCard,
        UErrorPtr* error) const override
    {
        lastCaseCard = caseCard;
        const auto found = entries_.find(key(type));
        if (found == entries_.end())
            return FakeCard::getCardValue(value, type, caseCard, error);
        if (found->second.error) {
            UFemSetError(error, found->second.error);
            return false;
        }
        std::copy(found->second.values.begin(), found->second.values.end(), value);
        return true;
    }

    mutable std::atomic<const UFemCard*> lastCaseCard { nullptr };

private:
    using Key = std::pair<quint32, quint32>;
    static Key key(_UFemCardValueType type)
    {
        return { type.majorCardValueType, type.minorCardValueType };
    }
    static Key typeOf(const QString& typeName)
    {
        UFemCardClassManager& registry = UFemCardClassManager::sharedCardClassManager();
        const QStringList parts = typeName.split(u'@');
        const quint32 major = registry.majorCardValueTypeWithMajorCardValueTypeString(parts[0]);
        const quint32 minor = parts.size() > 1
            ? registry.minorCardValueTypeWithMinorCardValueTypeString(parts[1])
            : 0;
        return { major, minor };
    }
    static const FakeCardClassShape& shape()
    {
        static const FakeCardClassShape nodeShape { QStringLiteral("Node"), UFemNodeCardType, 100,
            {} };
        return nodeShape;
    }

    QString name_;
    std::map<Key, Entry> entries_;
};

} // namespace fakecards
