#include "CardModelExpectations.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/card/NullCard.h"
#include "cardmodel/card/UFemCardClass.h"
#include "cardmodel/card/UFemCardClassManager.h"
#include "cardmodel/card/UFemCardType.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace fakecards;

namespace {

QString menuText(const std::vector<UFemMenuItemDescription>& menu)
{
    QStringList parts;
    for (const UFemMenuItemDescription& item : menu)
        parts.append(item.isSeparator ? QStringLiteral("|")
                                      : QStringLiteral("%1 %2").arg(item.title).arg(item.tag));
    return parts.join(QStringLiteral(", "));
}

} // namespace

TEST(CardRegistry, MenuOrderTagsAndSeparators)
{
    UFemCardClassManager manager(fakeCardClasses());
    std::vector<UFemMenuItemDescription> menu { { "Before", 1, false }, { "After", 2, false } };
    manager.insertCardMenuItemToMenu(menu, 1);
    EXPECT_EQ(menuText(menu),
        "Before 1, Node 1000, |, Rod 1001, Quad 1002, Hexa 1003, |, RodProp 1004, ShellProp 1005, "
        "SolidProp 1006, |, "
        "Material 1007, |, Case 1008, |, RestraintSet 1009, FixNode 1010, ForceDisp 1011, "
        "RestraintEquation 1012, "
        "|, ForceSet 1013, Force 1014, After 2");

    EXPECT_EQ(manager.cardClassOfCardMenuTag(1002), &fakeCardClass("Quad"));
    EXPECT_EQ(manager.menuTagOfCardClass(fakeCardClass("Force")), 1014);
    expectProgramError([&] { manager.menuTagOfCardClass(NullCard::nullCardClass()); },
        "aKindOfCardClass was not found.");

    // Tags are known before any menu was built.
    UFemCardClassManager fresh(fakeCardClasses());
    EXPECT_EQ(fresh.menuTagOfCardClass(fakeCardClass("Case")), 1008);
    std::vector<const UFemCardClass*> sorted = fresh.makeCardClassArrayByMenuTag();
    ASSERT_EQ(sorted.size(), 15u);
    EXPECT_EQ(sorted.back(), &fakeCardClass("Force"));
}

TEST(CardRegistry, SharedRegistryTakesTheClassesInstalledIntoIt)
{
    installFakeCardClassesIntoSharedRegistry();
    UFemCardClassManager& shared = UFemCardClassManager::sharedCardClassManager();
    EXPECT_EQ(shared.kindOfCardClassWithCardLabelString("Hexa", nullptr), &fakeCardClass("Hexa"));
    EXPECT_EQ(shared.majorCardValueTypeWithMajorCardValueTypeString("Displacement"), 0x106E0u);
    expectProgramError([] { UFemCardClassManager::setSharedCardClasses({}); },
        "The card class manager is already made.");
}

TEST(CardRegistry, LabelsAreFoundTrimmedAndCaseSensitive)
{
    UFemCardClassManager manager(fakeCardClasses());
    EXPECT_EQ(
        manager.kindOfCardClassWithCardLabelString(" \tNode  ", nullptr), &fakeCardClass("Node"));
    UErrorPtr error;
    EXPECT_EQ(manager.kindOfCardClassWithCardLabelString(" node", &error), nullptr);
    expectError(error, 12007, "Unknown Card Class Name: 'node'.");
    error.reset();
    EXPECT_EQ(manager.kindOfCardClassWithCardLabelString("  ", &error), nullptr);
    expectError(error, 12006, "Card Class Name ( 1st column ) is empty.");
    error.reset();
    EXPECT_EQ(manager.kindOfCardClassWithCardLabelString("No-de", &error), nullptr);
    EXPECT_TRUE(error);
    expectProgramError(
        [&] { static_cast<void>(manager.kindOfCardClassWithCardLabelString("Nobody", nullptr)); },
        "Error Responder Error");

    EXPECT_EQ(&manager.nullCardClass(), &NullCard::nullCardClass());
    EXPECT_EQ(manager.errorCardClass().cardType(), UFemErrorCardType);

    // A class with a label already taken replaces the first.
    UFemCardClassDescription description;
    description.cardLabelString = QStringLiteral("Node");
    description.cardType = UFemNodeCardType;
    description.cardMenuOrderHintNo = 100;
    description.numberOfColumns = 6;
    const UFemCardClass replacement(description);
    manager.registerCardClass(replacement);
    EXPECT_EQ(manager.kindOfCardClassWithCardLabelString("Node", nullptr), &replacement);
    EXPECT_EQ(manager.menuTagOfCardClass(replacement), 1000);
    EXPECT_EQ(manager.makeCardClassArrayByMenuTag().size(), 15u);
}

TEST(CardRegistry, ValueTypeWordsNamesAndLabels)
{
    UFemCardClassManager manager(fakeCardClasses());
    const quint32 displacement
        = manager.majorCardValueTypeWithMajorCardValueTypeString("Displacement");
    EXPECT_EQ(displacement, 0x106E0u);
    const _UFemCardValueType pair { displacement, 0 };
    EXPECT_TRUE(UFemCardValueTypeIsPointRelatedFlag(pair));
    EXPECT_TRUE(UFemCardValueTypeIsCaseRelatedFlag(pair));
    EXPECT_TRUE(UFemCardValueTypeIsCalcResultRelatedFlag(pair));
    EXPECT_EQ(UFemCardValueTypeNumberOfVectorValues(pair), 6u);
    EXPECT_EQ(manager.majorCardValueTypeWithMajorCardValueTypeString("Location"),
        (8u << 16) | (3u << 8) | 0x20u);
    EXPECT_EQ(
        manager.majorCardValueTypeWithMajorCardValueTypeString("ClipboardCardValue"), 0xD0100u);
    EXPECT_EQ(manager.majorCardValueTypeWithMajorCardValueTypeString("displacement"), 0u);

    // The fake classes' own types follow the built-in ones in installation order.
    EXPECT_EQ(
        manager.majorCardValueTypeWithMajorCardValueTypeString("FakeNodeReaction") >> 16, 14u);
    EXPECT_EQ(manager.majorCardValueTypeWithMajorCardValueTypeString("FakeDensity") >> 16, 15u);

    const quint32 vonMises
        = manager.majorCardValueTypeWithMajorCardValueTypeString("VonMisesStress");
    const quint32 shellFace = manager.minorCardValueTypeWithMinorCardValueTypeString("shellFace");
    EXPECT_EQ(shellFace, 2u);
    EXPECT_EQ(manager.cardValueTypeStringWithCardValueType({ vonMises, shellFace }),
        "VonMisesStress@shellFace");
    EXPECT_EQ(manager.cardValueTypeStringWithCardValueType({ vonMises, 0 }), "VonMisesStress");
    EXPECT_EQ(
        manager.cardValueVectorValueLabelStringArrayWithCardValueType({ vonMises, shellFace }),
        QStringList({ "VonMisesStress@shellFace" }));
    EXPECT_EQ(
        manager.cardValueVectorValueLabelStringArrayWithCardValueType({ displacement, 0 }).at(5),
        "Displacement-Rz");
    EXPECT_EQ(manager.majorCardValueTypeStringWithMajorCardValueType(displacement), "Displacement");
    EXPECT_EQ(manager.majorCardValueTypeStringWithMajorCardValueType(0x7F0100u), std::nullopt);

    // Minor names register on lookup.
    EXPECT_EQ(manager.minorCardValueTypeStringWithMinorCardValueType(0), std::nullopt);
    const quint32 corner = manager.minorCardValueTypeWithMinorCardValueTypeString("corner");
    EXPECT_EQ(corner, 5u);
    EXPECT_EQ(manager.minorCardValueTypeWithMinorCardValueTypeString("corner"), 5u);
    EXPECT_EQ(manager.minorCardValueTypeStringWithMinorCardValueType(5), "corner");
}

TEST(CardRegistry, RegisteringAMajorTypeAgainNeedsTheSameShape)
{
    UFemCardClassManager manager;
    const quint32 quad = manager.majorCardValueTypeWithMajorCardValueTypeString(
        "FourValues", 4, false, true, false, std::nullopt);
    EXPECT_EQ(quad, (14u << 16) | (4u << 8) | 0x40u);
    EXPECT_EQ(manager.cardValueVectorValueLabelStringArrayWithCardValueType({ quad, 0 }),
        QStringList({ "FourValues-1", "FourValues-2", "FourValues-3", "FourValues-4" }));
    EXPECT_EQ(manager.majorCardValueTypeWithMajorCardValueTypeString(
                  "FourValues", 4, false, true, false, QStringList { "ignored" }),
        quad);
    expectCardClassProgramError(
        [&] {
            manager.majorCardValueTypeWithMajorCardValueTypeString(
                "FourValues", 4, true, true, false, std::nullopt);
        },
        "'numOfValue', 'isPointRelated', or 'isCaseRelated' is different.");
    expectCardClassProgramError(
        [&] {
            manager.majorCardValueTypeWithMajorCardValueTypeString(
                "FourValues", 3, false, true, false, std::nullopt);
        },
        "'numOfValue', 'isPointRelated', or 'isCaseRelated' is different.");
    // Every card's clipboard value re-registers the built-in one unchanged.
    EXPECT_EQ(manager.majorCardValueTypeWithMajorCardValueTypeString(
                  "ClipboardCardValue", 1, false, false, false, std::nullopt),
        0xD0100u);
}

TEST(CardRegistryThreads, LookupsWhileMinorNamesAreAdded)
{
    UFemCardClassManager manager(fakeCardClasses());
    const quint32 displacement
        = manager.majorCardValueTypeWithMajorCardValueTypeString("Displacement");
    std::atomic<bool> stop { false };
    std::atomic<int> wrong { 0 };
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            while (!stop.load()) {
                if (manager.cardValueTypeStringWithCardValueType({ displacement, 1 })
                    != "Displacement@node")
                    ++wrong;
                if (manager.kindOfCardClassWithCardLabelString("Rod", nullptr)
                    != &fakeCardClass("Rod"))
                    ++wrong;
            }
        });
    }
    for (int i = 0; i < 2000; ++i)
        manager.minorCardValueTypeWithMinorCardValueTypeString(QStringLiteral("minor%1").arg(i));
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(manager.minorCardValueTypeWithMinorCardValueTypeString("minor1999"), 2004u);
}
