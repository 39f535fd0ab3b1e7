#include "cardmodel/filter/UFemCardFilter.h"

#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"
#include "cardmodel/filter/UFemCardFilterFunctionBlock.h"
#include "cardmodel/text/UFemModelValueParser.h"
#include "cardmodel/text/UFemParenthesisBlockReader.h"
#include "foundation/errors/UFemErrorsCardFilter.h"
#include "foundation/strings/UFormattedString.h"
#include "foundation/strings/UUnicharString.h"

namespace {

using ArgumentSetter = bool (UFemCardFilter::*)(const QStringList&, UErrorPtr*);

struct FunctionEntry {
    const char16_t* joinedFunctionNames;
    qsizetype argumentCount;
    ArgumentSetter setter;
};

const FunctionEntry functionEntries[] = {
    { u"type:", 1, &UFemCardFilter::setCardFilterCoreAs_Type_WithArgumentStringTable },
    { u"case:", 1, &UFemCardFilter::setCardFilterCoreAs_Case_WithArgumentStringTable },
    { u"class:", 1, &UFemCardFilter::setCardFilterCoreAs_Class_WithArgumentStringTable },
    { u"contain:", 1, &UFemCardFilter::setCardFilterCoreAs_Contain_WithArgumentStringTable },
    { u"caseArray:", 1, &UFemCardFilter::setCardFilterCoreAs_CaseArray_WithArgumentStringTable },
    { u"column:contain:", 2,
        &UFemCardFilter::setCardFilterCoreAs_Column_Contain_WithArgumentStringTable },
    { u"hasError", 0, &UFemCardFilter::setCardFilterCoreAs_HasError_WithArgumentStringTable },
};

const FunctionEntry* functionEntryOfBlock(const UFemCardFilterFunctionBlock& block)
{
    const QString names = block.joinedFunctionNames();
    for (const FunctionEntry& entry : functionEntries) {
        if (names == QStringView(entry.joinedFunctionNames)
            && block.arguments.size() == entry.argumentCount)
            return &entry;
    }
    return nullptr;
}

[[nodiscard]] bool failWith(UErrorPtr* error, UErrorPtr failure)
{
    UFemSetError(error, std::move(failure));
    return false;
}

// A name argument must read as one card name; its error is passed on unchanged.
[[nodiscard]] bool checkCardName(const QString& name, URange& range, UErrorPtr* error)
{
    UErrorPtr failure;
    UFemParseCardNameColumnString(name, range, &failure);
    return failure ? failWith(error, std::move(failure)) : true;
}

} // namespace

std::unique_ptr<UFemCardFilter> UFemCardFilter::cardFilterFunctionCardFilterWithBaseUnicharString(
    const UUnicharString& source, quint64& charIndex, quint64 readEndIndex,
    URange cardFilterStringRangeForErrorOccurred, UErrorPtr* error)
{
    const URange level { cardFilterStringRangeForErrorOccurred.location,
        readEndIndex - cardFilterStringRangeForErrorOccurred.location };
    UFemCardFilterFunctionBlock block;
    if (!UFemReadCardFilterFunctionBlock(source, charIndex, level, block, error))
        return nullptr;
    const FunctionEntry* entry = functionEntryOfBlock(block);
    if (entry == nullptr) {
        UFemSetError(error,
            UFemCardFilterSyntaxErrorInLevel(source, cardFilterStringRangeForErrorOccurred,
                block.range,
                ULocalizedFormattedString(
                    "Unknown Card Filter Function '%@'.", block.joinedFunctionNames())));
        return nullptr;
    }
    auto node = std::make_unique<UFemCardFilter>();
    if (!(node.get()->*(entry->setter))(block.arguments, error))
        return nullptr;
    return node;
}

bool UFemCardFilter::setCardFilterCoreAs_Type_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr* error)
{
    resetNode();
    const qint32 cardType = UFemCardTypeWithCardTypeString(arguments.value(0));
    if (cardType <= UFemNotSetCardType || cardType == UFemGenericNormalCardType
        || cardType >= UFemUnexpectedCardType) {
        return failWith(error,
            UFemCardFilterStringSyntaxError_withDescription(
                ULocalizedFormattedString("Unknown Card Type '%@'.", arguments.value(0)),
                UFormattedString(u"type:%@", arguments.value(0))));
    }
    cardFilterType_ = UFemCardFilterTypeType;
    argumentIntegerValue1_ = quint64(cardType);
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_Class_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr* error)
{
    resetNode();
    const UFemCardClass* cardClass
        = UFemCardClassManager::sharedCardClassManager().kindOfCardClassWithCardLabelString(
            arguments.value(0), error);
    if (cardClass == nullptr)
        return false;
    cardFilterType_ = UFemCardFilterClassType;
    argumentCardClass_ = cardClass;
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_Case_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr* error)
{
    resetNode();
    URange range;
    if (!checkCardName(arguments.value(0), range, error))
        return false;
    cardFilterType_ = UFemCardFilterCaseType;
    argumentString_ = arguments.value(0);
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_CaseArray_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr* error)
{
    resetNode();
    const QString argument = arguments.value(0);
    if (!argument.startsWith(u'{')) {
        return failWith(error,
            UFemCardFilterStringSyntaxError_withDescription(
                ULocalizedFormattedString(
                    "Argument format error for Card Filter Function 'caseArray:'."),
                ULocalizedFormattedString(
                    "Format is like 'caseArray:{ case_01, case_02, case_03 }'."),
                UFormattedString(u"caseArray:%@", argument)));
    }
    const UUnicharString source(argument);
    quint64 index = 0;
    URange innerRange;
    UErrorPtr failure;
    UFemReadParenthesisBlock(source, index, source.length(), innerRange, &failure);
    if (failure)
        return failWith(error, std::move(failure));
    const QString inner
        = innerRange.location < source.length() ? source.substringWithRange(innerRange) : QString();
    QStringList names;
    for (const QString& piece : inner.split(u',')) {
        URange range;
        if (!checkCardName(piece, range, error))
            return false;
        names.append(piece.mid(qsizetype(range.location), qsizetype(range.length)));
    }
    cardFilterType_ = UFemCardFilterCaseArrayType;
    argumentStringArray_ = names;
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_Contain_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr*)
{
    resetNode();
    cardFilterType_ = UFemCardFilterContainType;
    argumentString_ = arguments.value(0);
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_Column_Contain_WithArgumentStringTable(
    const QStringList& arguments, UErrorPtr* error)
{
    resetNode();
    URange range;
    qint64 columnNumber = 0;
    UErrorPtr failure;
    if (!UFemParseIntegerColumnString(arguments.value(0), range, columnNumber, &failure) || failure)
        return failWith(error, failure);
    cardFilterType_ = UFemCardFilterColumnContainType;
    // Column 1 is the label; a number below 1 wraps beyond every card's columns.
    argumentIntegerValue1_ = quint64(columnNumber) - 1;
    argumentString_ = arguments.value(1);
    return true;
}

bool UFemCardFilter::setCardFilterCoreAs_HasError_WithArgumentStringTable(
    const QStringList&, UErrorPtr*)
{
    resetNode();
    cardFilterType_ = UFemCardFilterHasErrorType;
    return true;
}
