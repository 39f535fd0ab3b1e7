#pragma once

#include "foundation/containers/URange.h"
#include "foundation/errors/UError.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>
#include <vector>

class UFemCard;
class UFemCardClass;
class UUnicharString;

// The kinds of filter node; the numbers are those the filter language documents.
enum UFemCardFilterTypeValue : quint64 {
    UFemCardFilterNoneType = 0,
    UFemCardFilterANDType = 1,
    UFemCardFilterORType = 2,
    UFemCardFilterHasErrorType = 3,
    UFemCardFilterTypeType = 4,
    UFemCardFilterClassType = 5,
    UFemCardFilterCaseType = 6,
    UFemCardFilterCaseArrayType = 7,
    UFemCardFilterContainType = 8,
    UFemCardFilterColumnContainType = 9,
};

// A card filter: one node of the tree parsed from a text in the card filter language, the root
// keeping the text and the error of its last parse. A filter without a node type accepts every
// card. Parsed once on the main thread; afterwards read-only, so worker threads may evaluate it
// while no one sets a new text.
class UFemCardFilter {
public:
    UFemCardFilter() = default;
    ~UFemCardFilter();
    // Copies parse the same text again (errors ignored).
    UFemCardFilter(const UFemCardFilter& other);
    UFemCardFilter& operator=(const UFemCardFilter& other);

    void reset();
    // Blank or absent text: no filter and no error (returns false). A text that does not parse
    // leaves no filter, keeps the text and the error, and returns false.
    [[nodiscard]] bool setCardFilterString(
        const std::optional<QString>& cardFilterString, UErrorPtr* error);
    void clearCardFilter();
    QString cardFilterString() const { return cardFilterString_.value_or(QString()); }
    UErrorPtr cardFilterError() const { return cardFilterError_; }
    bool isCardFilterValid() const { return cardFilterType_ != UFemCardFilterNoneType; }
    bool isCardValid(UFemCard& card) const;

    // The node as parsed.
    bool isNegation() const { return isNegation_; }
    quint64 cardFilterType() const { return cardFilterType_; }
    const std::vector<std::unique_ptr<UFemCardFilter>>& childCardFilterArray() const
    {
        return children_;
    }
    const UFemCardClass* argumentCardClass() const { return argumentCardClass_; }
    const QString& argumentString() const { return argumentString_; }
    const QStringList& argumentStringArray() const { return argumentStringArray_; }
    quint64 argumentIntegerValue1() const { return argumentIntegerValue1_; }

    // Two presets: "Node" ("type:Node") and "Element" ("type:Elem"), as folder items.
    static QVariantList defaultCardFilterStringFolderArray();

    // ---- Parsing
    // One expression level over `range` of `source` into this node. False without an error for
    // an empty level.
    [[nodiscard]] bool setCardFilterCoreWithBaseUnicharString(
        const UUnicharString& source, URange cardFilterStringRange, UErrorPtr* error);
    // The node of the function block starting at the letter at `charIndex`, which moves past the
    // block. `cardFilterStringRangeForErrorOccurred` is the level, for error excerpts.
    [[nodiscard]] static std::unique_ptr<UFemCardFilter>
    cardFilterFunctionCardFilterWithBaseUnicharString(const UUnicharString& source,
        quint64& charIndex, quint64 readEndIndex, URange cardFilterStringRangeForErrorOccurred,
        UErrorPtr* error);

    // Each resets the node and takes the block's arguments in text order.
    [[nodiscard]] bool setCardFilterCoreAs_Type_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_Class_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_Case_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_CaseArray_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_Contain_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_Column_Contain_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);
    [[nodiscard]] bool setCardFilterCoreAs_HasError_WithArgumentStringTable(
        const QStringList& arguments, UErrorPtr* error);

private:
    friend class UFemCardFilterLevelParser;

    void resetNode();
    // The operands of a parsed level: one operand without operator becomes this node itself.
    void takeOverLevel(std::vector<std::unique_ptr<UFemCardFilter>> operands, quint64 levelType);
    // "!" before a group of one negated operand cancels its negation.
    void invertNegation() { isNegation_ = !isNegation_; }
    bool isNodeValid(UFemCard& card) const;
    bool isCardValidAs_AND_WithCard(UFemCard& card) const;
    bool isCardValidAs_OR_WithCard(UFemCard& card) const;
    bool isCardValidAs_HasError_WithCard(UFemCard& card) const;
    bool isCardValidAs_Type_WithCard(UFemCard& card) const;
    bool isCardValidAs_Class_WithCard(UFemCard& card) const;
    bool isCardValidAs_Case_WithCard(UFemCard& card) const;
    bool isCardValidAs_CaseArray_WithCard(UFemCard& card) const;
    bool isCardValidAs_Contain_WithCard(UFemCard& card) const;
    bool isCardValidAs_Column_Contain_WithCard(UFemCard& card) const;

    std::optional<QString> cardFilterString_;
    UErrorPtr cardFilterError_;
    bool isNegation_ = false;
    quint64 cardFilterType_ = UFemCardFilterNoneType;
    // The argument of the node's type: children (AND, OR), a class, a text (case, contain,
    // column-contain) or names (caseArray).
    std::vector<std::unique_ptr<UFemCardFilter>> children_;
    const UFemCardClass* argumentCardClass_ = nullptr;
    QString argumentString_;
    QStringList argumentStringArray_;
    quint64 argumentIntegerValue1_ = 0;
};
