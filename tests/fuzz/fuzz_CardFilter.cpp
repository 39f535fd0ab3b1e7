// Parses arbitrary UTF-8 text as a card filter and checks what every parse must satisfy: a failed
// parse leaves no filter and gives an error, a successful one gives a valid tree that a copy
// reproduces node for node, and evaluating the tree on a card never fails.
#include "cardmodel/card/NullCard.h"
#include "cardmodel/filter/UFemCardFilter.h"

#include <cstdint>
#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool isSameTree(const UFemCardFilter& a, const UFemCardFilter& b)
{
    if (a.cardFilterType() != b.cardFilterType() || a.isNegation() != b.isNegation()
        || a.argumentCardClass() != b.argumentCardClass()
        || a.argumentString() != b.argumentString()
        || a.argumentStringArray() != b.argumentStringArray()
        || a.argumentIntegerValue1() != b.argumentIntegerValue1()
        || a.childCardFilterArray().size() != b.childCardFilterArray().size())
        return false;
    for (size_t i = 0; i < a.childCardFilterArray().size(); ++i) {
        if (!isSameTree(*a.childCardFilterArray()[i], *b.childCardFilterArray()[i]))
            return false;
    }
    return true;
}

// AND and OR nodes hold at least two children; other nodes none.
bool isWellFormed(const UFemCardFilter& node)
{
    const bool isJunction = node.cardFilterType() == UFemCardFilterANDType
        || node.cardFilterType() == UFemCardFilterORType;
    if (node.cardFilterType() == UFemCardFilterNoneType
        || node.cardFilterType() > UFemCardFilterColumnContainType)
        return false;
    if (isJunction != (node.childCardFilterArray().size() >= 2))
        return false;
    for (const auto& child : node.childCardFilterArray()) {
        if (!isWellFormed(*child))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    UFemCardFilter filter;
    UErrorPtr error;
    const bool isParsed = filter.setCardFilterString(text, &error);
    require(isParsed == filter.isCardFilterValid());
    NullCard card(nullptr);
    if (!isParsed) {
        require(error == filter.cardFilterError());
        require(filter.isCardValid(card));
        return 0;
    }
    require(!error && isWellFormed(filter));
    const UFemCardFilter copy(filter);
    require(copy.cardFilterString() == filter.cardFilterString());
    require(isSameTree(copy, filter));
    require(copy.isCardValid(card) == filter.isCardValid(card));
    return 0;
}
