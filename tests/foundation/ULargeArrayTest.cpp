#include "foundation/containers/ULargeArray.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <vector>

namespace {

struct Item {
    int value;
    bool operator==(const Item& other) const { return value == other.value; }
};

using Array = ULargeArray<Item>;
using ItemPtr = std::shared_ptr<Item>;

static_assert(std::forward_iterator<Array::const_iterator>);

std::vector<ItemPtr> makeItems(int count, int first = 0)
{
    std::vector<ItemPtr> items;
    items.reserve(count);
    for (int i = 0; i < count; ++i)
        items.push_back(std::make_shared<Item>(Item { first + i }));
    return items;
}

std::vector<uint64_t> childCounts(const Array& array)
{
    std::vector<uint64_t> counts;
    for (uint64_t r = 0; r < array.childArrayRecordCount(); ++r)
        counts.push_back(array.childArrayCount(r));
    return counts;
}

// An array filled with `counts` children through refilling, which cuts children of ref objects.
Array arrayWithChildren(const std::vector<ItemPtr>& items)
{
    Array array;
    array.setArrayWithObjects(items.data(), items.size());
    return array;
}

void expectSameObjects(const Array& array, const std::vector<ItemPtr>& expected)
{
    ASSERT_EQ(array.count(), expected.size());
    const std::vector<ItemPtr> actual = array.toVector();
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(actual[i], expected[i]) << i;
    EXPECT_EQ(array.invariantViolation(), QString());
}

template <typename Function> QString programErrorReason(Function function)
{
    try {
        function();
    } catch (const UException& exception) {
        return exception.reason();
    }
    return QString();
}

} // namespace

TEST(LargeArray, ReferenceSizeLadder)
{
    EXPECT_EQ(Array::referenceSizeForCount(1), 1024u);
    EXPECT_EQ(Array::referenceSizeForCount(65536), 1024u);
    EXPECT_EQ(Array::referenceSizeForCount(65537), 2048u);
    EXPECT_EQ(Array::referenceSizeForCount(131072), 2048u);
    EXPECT_EQ(Array::referenceSizeForCount(131073), 4096u);
    EXPECT_EQ(Array::referenceSizeForCount(262145), 8192u);
    EXPECT_EQ(Array::referenceSizeForCount(524289), 16384u);
    EXPECT_EQ(Array::referenceSizeForCount(1048576), 16384u);
    EXPECT_EQ(Array::referenceSizeForCount(1048577), 32768u);
    EXPECT_EQ(Array::referenceSizeForCount(3000000), 49152u);

    Array standard;
    EXPECT_EQ(standard.childArrayCount_ref(), 1024u);
    EXPECT_EQ(standard.objectCount_targetMax(), 65536u);
    Array unsized(0);
    EXPECT_EQ(unsized.childArrayCount_ref(), 0u);
    EXPECT_EQ(unsized.objectCount_targetMax(), 0u);
    unsized.addObject(std::make_shared<Item>(Item { 1 }));
    EXPECT_EQ(unsized.childArrayCount_ref(), 1024u);
    EXPECT_EQ(unsized.objectCount_targetMax(), 65536u);
}

TEST(LargeArray, AppendingFillsChildrenOfRefObjects)
{
    const std::vector<ItemPtr> items = makeItems(65537);
    Array small;
    for (int i = 0; i < 3000; ++i)
        small.addObject(items[i]);
    EXPECT_EQ(childCounts(small), (std::vector<uint64_t> { 1024, 1024, 952 }));

    Array array;
    for (int i = 0; i < 65536; ++i)
        array.addObject(items[i]);
    EXPECT_EQ(childCounts(array), std::vector<uint64_t>(64, 1024));
    array.addObject(items[65536]);
    EXPECT_EQ(array.childArrayCount_ref(), 2048u);
    EXPECT_EQ(array.objectCount_targetMax(), 131072u);
    std::vector<uint64_t> expected(64, 1024);
    expected.back() = 1025;
    EXPECT_EQ(childCounts(array), expected);
    expectSameObjects(array, items);
}

TEST(LargeArray, InsertionOnAChildBoundaryGoesToThePreviousChild)
{
    const std::vector<ItemPtr> items = makeItems(2048);
    Array array = arrayWithChildren(items);
    const ItemPtr boundary = std::make_shared<Item>(Item { -1 });
    array.insertObject(boundary, 1024);
    EXPECT_EQ(childCounts(array), (std::vector<uint64_t> { 1025, 1024 }));
    EXPECT_EQ(array.objectAtIndex(1024), boundary);
    const ItemPtr front = std::make_shared<Item>(Item { -2 });
    array.insertObject(front, 0);
    EXPECT_EQ(childCounts(array), (std::vector<uint64_t> { 1026, 1024 }));
    EXPECT_EQ(array.objectAtIndex(0), front);
    EXPECT_EQ(array.objectAtIndex(1025), boundary);
    EXPECT_EQ(array.objectAtIndex(1026), items[1024]);
    EXPECT_EQ(array.invariantViolation(), QString());
}

TEST(LargeArray, ChildOverBigIsSplit)
{
    std::vector<ItemPtr> items = makeItems(2024);
    Array array = arrayWithChildren(items);
    ASSERT_EQ(childCounts(array), (std::vector<uint64_t> { 1024, 1000 }));
    const std::vector<ItemPtr> extra = makeItems(513, 10000);
    for (int i = 0; i < 512; ++i)
        array.insertObject(extra[i], 10);
    EXPECT_EQ(childCounts(array), (std::vector<uint64_t> { 1536, 1000 }));
    array.insertObject(extra[512], 10);
    EXPECT_EQ(childCounts(array), (std::vector<uint64_t> { 1268, 1269 }));
    EXPECT_EQ(array.invariantViolation(), QString());

    Array last = arrayWithChildren(makeItems(2048));
    const std::vector<ItemPtr> more = makeItems(513, 20000);
    for (const ItemPtr& item : more)
        last.insertObject(item, 1500);
    EXPECT_EQ(childCounts(last), (std::vector<uint64_t> { 1024, 1024, 513 }));
    EXPECT_EQ(last.objectAtIndex(1500), more.back());
    EXPECT_EQ(last.invariantViolation(), QString());
}

TEST(LargeArray, ChildUnderHalfIsMergedOrToppedUp)
{
    Array merged = arrayWithChildren(makeItems(3072));
    for (int i = 0; i < 512; ++i)
        merged.removeObjectAtIndex(0);
    EXPECT_EQ(childCounts(merged), (std::vector<uint64_t> { 512, 1024, 1024 }));
    const ItemPtr firstOfSecond = merged.objectAtIndex(512);
    merged.removeObjectAtIndex(0);
    EXPECT_EQ(childCounts(merged), (std::vector<uint64_t> { 1535, 1024 }));
    EXPECT_EQ(merged.objectAtIndex(511), firstOfSecond);
    EXPECT_EQ(merged.invariantViolation(), QString());

    Array toppedUp = arrayWithChildren(makeItems(3072));
    const std::vector<ItemPtr> extra = makeItems(76, 10000);
    for (const ItemPtr& item : extra)
        toppedUp.insertObject(item, 1500);
    ASSERT_EQ(childCounts(toppedUp), (std::vector<uint64_t> { 1024, 1100, 1024 }));
    for (int i = 0; i < 513; ++i)
        toppedUp.removeObjectAtIndex(0);
    EXPECT_EQ(childCounts(toppedUp), (std::vector<uint64_t> { 805, 806, 1024 }));
    EXPECT_EQ(toppedUp.invariantViolation(), QString());
}

TEST(LargeArray, RemovingAWholeFirstChild)
{
    const std::vector<ItemPtr> items = makeItems(3000);
    Array array = arrayWithChildren(items);
    array.removeObjectsInRange({ 0, 1024 });
    EXPECT_EQ(childCounts(array), (std::vector<uint64_t> { 1024, 952 }));
    EXPECT_EQ(array.objectAtIndex(0), items[1024]);
    EXPECT_EQ(array.objectAtIndex(1975), items[2999]);
    EXPECT_EQ(array.invariantViolation(), QString());
}

TEST(LargeArray, IdentitySearches)
{
    const std::vector<ItemPtr> items = makeItems(3000);
    Array array = arrayWithChildren(items);
    const ItemPtr twin = std::make_shared<Item>(Item { 1500 });
    EXPECT_EQ(array.indexOfObject(twin), UNSNotFound);
    EXPECT_FALSE(array.containsObject(twin));
    EXPECT_EQ(array.indexOfObject(items[1500]), 1500u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(items[1500]), 1500u);

    // Item 1500 lies in child 1 (1024 .. 2047); ranges that start inside that child.
    EXPECT_EQ(array.indexOfObjectIdenticalTo(items[1500], { 1100, 401 }), 1500u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(items[1500], { 1100, 400 }), UNSNotFound);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(items[1500], { 1501, 10 }), UNSNotFound);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(items[1500], { 1500, ~uint64_t(0) }), 1500u);

    const uint64_t before = array.mutations();
    array.removeObjectIdenticalTo(twin);
    EXPECT_EQ(array.mutations(), before + 1); // counted although nothing was removed
    EXPECT_EQ(array.count(), 3000u);
    array.removeObjectIdenticalTo(items[1500]);
    EXPECT_EQ(array.count(), 2999u);
    EXPECT_FALSE(array.containsObject(items[1500]));
    EXPECT_EQ(array.objectAtIndex(1500), items[1501]);
    EXPECT_EQ(array.objectAtIndex(1499), items[1499]);
    array.removeObject(items[10], { 0, 10 });
    EXPECT_EQ(array.count(), 2999u);
    array.removeObject(items[10], { 0, 11 });
    EXPECT_EQ(array.count(), 2998u);
    EXPECT_EQ(array.invariantViolation(), QString());
}

TEST(LargeArray, BulkInsertions)
{
    const std::vector<ItemPtr> items = makeItems(3000);
    const std::vector<ItemPtr> source = makeItems(5000, 10000);
    Array array = arrayWithChildren(items);
    array.insertObjectFromArray(source, { 100, 50 }, array.count());
    std::vector<ItemPtr> expected = items;
    expected.insert(expected.end(), source.begin() + 100, source.begin() + 150);
    expectSameObjects(array, expected);

    array.insertObjectFromArray(source, { 200, 3000 }, 700);
    expected.insert(expected.begin() + 700, source.begin() + 200, source.begin() + 3200);
    expectSameObjects(array, expected);

    array.addObjectsFromArray(std::span(source).subspan(4000, 1000));
    expected.insert(expected.end(), source.begin() + 4000, source.end());
    expectSameObjects(array, expected);

    array.replaceObjectsInRange({ 10, 2000 }, source, { 3500, 20 });
    expected.erase(expected.begin() + 10, expected.begin() + 2010);
    expected.insert(expected.begin() + 10, source.begin() + 3500, source.begin() + 3520);
    expectSameObjects(array, expected);

    array.removeObjectsAtIndexes({ 5, 3, 4000, 1030, 1031, 1032 });
    for (const uint64_t index : { 4000, 1032, 1031, 1030, 5, 3 })
        expected.erase(expected.begin() + index);
    expectSameObjects(array, expected);
}

TEST(LargeArray, RangeErrorsAndDuplicates)
{
    const std::vector<ItemPtr> items = makeItems(100);
    Array array = arrayWithChildren(items);
    const ItemPtr outsider = std::make_shared<Item>(Item { -1 });
    EXPECT_THROW(array.objectAtIndex(100), URangeException);
    EXPECT_THROW(array.replaceObjectAtIndex(100, outsider), URangeException);
    EXPECT_THROW(array.removeObjectAtIndex(100), URangeException);
    EXPECT_THROW(array.insertObject(outsider, 101), URangeException);
    EXPECT_THROW(array.removeObjectsInRange({ 90, 11 }), URangeException);
    EXPECT_THROW(array.removeObjectsAtIndexes({ 3, 100 }), URangeException);
    std::vector<ItemPtr> buffer(20);
    EXPECT_THROW(array.getObjects(buffer.data(), { 90, 11 }), URangeException);
    EXPECT_THROW(Array().removeLastObject(), URangeException);
    expectSameObjects(array, items);

    EXPECT_EQ(
        programErrorReason([&] { array.addObject(items[5]); }), "Object is already in the array.");
    EXPECT_EQ(programErrorReason([&] { array.insertObject(items[5], 50); }),
        "Object is already in the array.");
    EXPECT_EQ(programErrorReason([&] { array.replaceObjectAtIndex(7, items[5]); }),
        "Object is already in the array.");
    array.replaceObjectAtIndex(5, items[5]);
    expectSameObjects(array, items);
}

TEST(LargeArray, TheArrayOwnsItsObjects)
{
    std::weak_ptr<Item> watched;
    Array array;
    {
        const ItemPtr item = std::make_shared<Item>(Item { 1 });
        watched = item;
        array.addObject(item);
        array.addObject(std::make_shared<Item>(Item { 2 }));
    }
    EXPECT_FALSE(watched.expired());
    const ItemPtr replacement = std::make_shared<Item>(Item { 3 });
    array.replaceObjectAtIndex(0, replacement);
    EXPECT_TRUE(watched.expired());
    EXPECT_EQ(array.indexOfObjectIdenticalTo(replacement), 0u);
    std::weak_ptr<Item> second = array.objectAtIndex(1);
    array.removeAllObjects();
    EXPECT_TRUE(second.expired());
    EXPECT_EQ(replacement.use_count(), 1);
    EXPECT_EQ(array.lastObject(), nullptr);
}

TEST(LargeArray, Enumeration)
{
    Array empty;
    EXPECT_EQ(empty.objectEnumerator().nextObject(), nullptr);
    EXPECT_EQ(empty.reverseObjectEnumerator().nextObject(), nullptr);
    EXPECT_TRUE(empty.begin() == empty.end());

    const std::vector<ItemPtr> items = makeItems(2500);
    Array array = arrayWithChildren(items);
    auto reverse = array.reverseObjectEnumerator();
    for (int i = 2499; i >= 0; --i)
        ASSERT_EQ(reverse.nextObject(), items[i]) << i;
    EXPECT_EQ(reverse.nextObject(), nullptr);

    size_t seen = 0;
    for (const ItemPtr& item : array)
        ASSERT_EQ(item, items[seen++]);
    EXPECT_EQ(seen, items.size());

    auto forward = array.objectEnumerator();
    EXPECT_EQ(forward.nextObject(), items[0]);
    const ItemPtr replacement = std::make_shared<Item>(Item { -1 });
    array.replaceObjectAtIndex(1, replacement);
    EXPECT_EQ(forward.nextObject(), replacement);
    array.addObject(std::make_shared<Item>(Item { -2 }));
    EXPECT_EQ(
        programErrorReason([&] { forward.nextObject(); }), "LargeArray changed while enumerating.");
    auto another = array.objectEnumerator();
    auto iterator = array.begin();
    array.removeAllObjects();
    EXPECT_EQ(
        programErrorReason([&] { another.nextObject(); }), "LargeArray changed while enumerating.");
    EXPECT_EQ(programErrorReason([&] { ++iterator; }), "LargeArray changed while enumerating.");
}

TEST(LargeArray, CopiesAreIndependent)
{
    const std::vector<ItemPtr> items = makeItems(70000);
    Array original(items.data(), items.size());
    Array copy(original);
    expectSameObjects(copy, items);
    original.removeObjectsInRange({ 0, 35000 });
    copy.addObject(std::make_shared<Item>(Item { -1 }));
    EXPECT_EQ(original.count(), 35000u);
    EXPECT_EQ(copy.count(), 70001u);
    EXPECT_EQ(copy.objectAtIndex(0), items[0]);
    EXPECT_EQ(original.objectAtIndex(0), items[35000]);

    copy.optimizeWithOptimizeLevel(2);
    EXPECT_EQ(copy.count(), 70001u);
    EXPECT_EQ(copy.objectAtIndex(69999), items[69999]);
    EXPECT_EQ(copy.invariantViolation(), QString());
}
