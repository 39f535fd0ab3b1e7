#include "foundation/containers/UIndexicalArray.h"
#include "foundation/containers/UPointerDictionaries.h"
#include "foundation/errors/UException.h"

#include <gtest/gtest.h>

#include <QString>

#include <memory>
#include <thread>
#include <vector>

namespace {

using Name = std::shared_ptr<QString>;
using Names = UIndexicalArray<QString>;

Name name(const char* text)
{
    return std::make_shared<QString>(QString::fromLatin1(text));
}

std::vector<Name> names(int count)
{
    std::vector<Name> result;
    for (int i = 0; i < count; ++i)
        result.push_back(std::make_shared<QString>(QStringLiteral("N%1").arg(i)));
    return result;
}

} // namespace

TEST(IndexicalArray, EqualAndIdenticalLookups)
{
    const Name a = name("a"), b = name("b"), c = name("c");
    const Names array(std::vector<Name> { a, b, c });
    const Name otherB = name("b");
    EXPECT_EQ(array.indexOfObject(otherB), 1u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(otherB), UNSNotFound);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(b), 1u);
    EXPECT_EQ(array.indexOfObject(name("d")), UNSNotFound);
    EXPECT_EQ(array.objectAtIndex(2), c);
    EXPECT_THROW(array.objectAtIndex(3), URangeException);
}

TEST(IndexicalArray, EqualObjectsMapToTheLastOccurrence)
{
    const Name first = name("x"), middle = name("y"), last = name("x");
    const Names array(std::vector<Name> { first, middle, last });
    EXPECT_EQ(array.indexOfObject(first), 2u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(last), 2u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(first), UNSNotFound);
}

TEST(IndexicalArray, TheTableOwnsEqualTwins)
{
    std::weak_ptr<QString> twin;
    Names array;
    {
        const Name first = name("x");
        const Name second = name("x");
        twin = first;
        array.setArray(std::vector<Name> { first, second });
    }
    ASSERT_FALSE(twin.expired());
    EXPECT_EQ(*array.objectAtIndex(0), "x");
    EXPECT_EQ(array.indexOfObject(name("x")), 1u);
    // Refilling from the array's own objects keeps them alive throughout.
    array.setArray(array.array());
    EXPECT_EQ(array.count(), 2u);
    EXPECT_EQ(array.indexOfObject(name("x")), 1u);
    array.removeAllObjects();
    EXPECT_TRUE(twin.expired());
}

TEST(IndexicalArray, RemoveAllAndRefill)
{
    const std::vector<Name> objects = names(11);
    Names array(objects.data(), 10);
    EXPECT_EQ(array.objectTableCapacity(), 10u);
    array.setArrayWithObjects(objects.data(), 5);
    EXPECT_EQ(array.objectTableCapacity(), 10u);
    EXPECT_EQ(array.indexOfObject(objects[7]), UNSNotFound);
    array.setArrayWithObjects(objects.data() + 3, 8);
    EXPECT_EQ(array.objectTableCapacity(), 10u);
    EXPECT_EQ(array.indexOfObject(objects[7]), 4u);
    array.setArrayWithObjects(objects.data(), 11);
    EXPECT_EQ(array.objectTableCapacity(), 11u);
    EXPECT_EQ(array.indexOfObjectIdenticalTo(objects[10]), 10u);

    array.removeAllObjects();
    EXPECT_EQ(array.count(), 0u);
    EXPECT_EQ(array.objectTableCapacity(), 11u);
    EXPECT_THROW(array.objectAtIndex(0), URangeException);
    for (const Name& object : objects)
        EXPECT_EQ(array.indexOfObject(object), UNSNotFound);

    array.setArrayWithObjects(objects.data(), 0);
    EXPECT_EQ(array.count(), 0u);
}

TEST(IndexicalArray, CopiesAreIndependent)
{
    const std::vector<Name> objects = names(6);
    Names original(objects);
    Names copy = original;
    original.setArrayWithObjects(objects.data() + 4, 2);
    EXPECT_EQ(copy.count(), 6u);
    EXPECT_EQ(copy.indexOfObjectIdenticalTo(objects[5]), 5u);
    EXPECT_EQ(copy.indexOfObject(name("N2")), 2u);
    EXPECT_EQ(original.indexOfObjectIdenticalTo(objects[5]), 1u);
    EXPECT_EQ(original.indexOfObject(name("N2")), UNSNotFound);
}

TEST(IndexicalArray, PointerDictionaries)
{
    int page = 0;
    auto pages = UCreatePointerKeyDictionary<int>(100);
    EXPECT_GE(pages.bucket_count(), 100u);
    pages[7] = &page;
    EXPECT_EQ(pages.at(7), &page);

    auto readers = UCreateObjectKeyPointerValueDictionary<QString, int>(0);
    readers[name("Node")] = &page;
    EXPECT_EQ(readers.at(name("Node")), &page); // found by equality
    EXPECT_FALSE(readers.contains(name("Case")));

    auto indexes = UCreateObjectKeyIntegerValueDictionary<QString>(4);
    indexes[name("a")] = 3;
    indexes[name("a")] = 5;
    EXPECT_EQ(indexes.size(), 1u);
    EXPECT_EQ(indexes.at(name("a")), 5u);

    EXPECT_TRUE(UDescribePointerValue(&page).startsWith(QStringLiteral("0x")));
}

TEST(IndexicalArrayThreads, ConcurrentReaders)
{
    const std::vector<Name> objects = names(20000);
    const Names array(objects);
    std::vector<int> failures(6, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 6; ++t) {
        threads.emplace_back([&, t] {
            for (uint64_t i = t; i < objects.size(); i += 3) {
                failures[t] += array.indexOfObjectIdenticalTo(objects[i]) != i;
                failures[t] += array.objectAtIndex(i) != objects[i];
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    for (int failure : failures)
        EXPECT_EQ(failure, 0);
}
