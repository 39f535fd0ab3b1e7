#pragma once

#include "foundation/containers/URange.h"
#include "foundation/errors/UException.h"

#include <QString>

#include <iterator>
#include <memory>

// Additions to arrays: identity membership, sorted insertion with a compare function and joining.
// They work on any random-access container (std::vector, QList); elements that are pointers are
// compared by identity.

// Whether an element is the very same object (pointer identity, not equality).
template <typename Array, typename Object>
bool UContainsObjectIdenticalTo(const Array& array, const Object* object)
{
    for (const auto& element : array) {
        if (std::to_address(element) == object)
            return true;
    }
    return false;
}

// The index at which `object` belongs in an array kept sorted by `compare(object, element)`
// (negative, zero or positive). Among equal elements the search answers whichever it meets first.
template <typename Array, typename Object, typename Compare>
quint64 UIndexForObjectInSortedArray(const Array& array, const Object& object, Compare compare)
{
    quint64 low = 0;
    quint64 high = static_cast<quint64>(std::size(array));
    while (low < high) {
        const quint64 mid = (low + high) / 2;
        const auto order = compare(object, array[mid]);
        if (order == 0)
            return mid;
        if (order > 0)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

// Inserts `object` where UIndexForObjectInSortedArray puts it and returns that index.
template <typename Array, typename Object, typename Compare>
quint64 UInsertObjectIntoSortedArray(Array& array, Object&& object, Compare compare)
{
    const quint64 index = UIndexForObjectInSortedArray(array, object, compare);
    array.insert(array.begin() + static_cast<std::ptrdiff_t>(index), std::forward<Object>(object));
    return index;
}

// The texts `component(element)` of the elements in `range`, joined by `separator`; an empty range
// gives the empty string. URangeException when the range lies outside the array.
template <typename Array, typename Component>
QString UJoinedStringWithPerformingSelectorToComponents(
    const Array& array, URange range, Component component, const QString& separator)
{
    constexpr qsizetype capacityPerElement = 16;
    if (!URangeIsWithin(range, static_cast<quint64>(std::size(array))))
        URaiseRangeException();
    QString joined;
    joined.reserve(static_cast<qsizetype>(range.length) * capacityPerElement);
    for (quint64 i = range.location; i < range.location + range.length; ++i) {
        if (i != range.location)
            joined += separator;
        joined += component(array[i]);
    }
    return joined;
}

template <typename Array, typename Component>
QString UJoinedStringWithPerformingSelectorToComponents(
    const Array& array, Component component, const QString& separator)
{
    return UJoinedStringWithPerformingSelectorToComponents(
        array, URange { 0, static_cast<quint64>(std::size(array)) }, component, separator);
}
