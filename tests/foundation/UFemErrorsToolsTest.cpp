#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsElementDivider.h"
#include "foundation/errors/UFemErrorsNodeMerger.h"
#include "foundation/errors/UFemErrorsPreferences.h"

#include "ErrorExpectation.h"

#include <array>

TEST(ErrorCataloguePreferences, TextsCodesAndStyles)
{
    expectError({ "71001",
        UFemPreferencesFileError_withDescription(QStringLiteral("Colour has 3 entries.")), 71001,
        QStringLiteral("An error exist in Preferences file. Continues with default value, etc."),
        QStringLiteral("Colour has 3 entries."),
        QStringLiteral("Set preferences with 'Vantrel'-'Preferences' in main menu."),
        QStringLiteral(
            "Error occurred while reading Preferences File. Continues with default value, etc.") });
}

TEST(ErrorCatalogueNodeMerger, TextsCodesAndStyles)
{
    const QString invalid = QStringLiteral(
        "Error exists on Node Card Name in Specified Node Card Name List in clipboard.");
    expectError({ "91001",
        UFemToolNodeMergerSpecifiedKeepNodeCardNameListNodeCardNameError_withNodeCardErrorString(
            QStringLiteral("n x")),
        91001, invalid, invalid,
        QStringLiteral("Specified Node Card Name must be valid.\nError:\nn x"),
        QStringLiteral("Error exists on Node Card Name in Specified Node Card Name List in "
                       "clipboard. Specified Node "
                       "Card Name must be valid.") });

    const QString over = QStringLiteral(
        "Number of node on same location ( or within distance 0.001000 ) is over 8.");
    expectError({ "91002",
        UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(8, 0.001,
            { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d") }),
        91002, over, over,
        QStringLiteral("This function can't merge node more than 8 on same location. or 'Node "
                       "Merge Distance' might be "
                       "too big. Check the value.\nNodes on same location: a, b, c, ..."),
        QStringLiteral("Number of node on same location ( or within distance 0.001000 ) is over 8. "
                       "This function "
                       "can't merge node more than 8 on same location. or 'Node Merge Distance' "
                       "might be too big. "
                       "Nodes on same location: a, b, c, ...") });
}

TEST(ErrorCatalogueNodeMerger, NameListShowsAtMostThree)
{
    const auto namesText = [](const QStringList& names) {
        const QString suggestion
            = UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(2, 0.5, names)
                  ->localizedRecoverySuggestion();
        return suggestion.mid(suggestion.indexOf(QStringLiteral(": ")) + 2);
    };
    EXPECT_EQ(namesText({ "a", "b", "c" }), "a, b, c, ...");
    EXPECT_EQ(namesText({ "a", "b" }), "a, b, ...");
    EXPECT_EQ(namesText({ "a" }), "a, ...");
    EXPECT_THROW(UFemToolNodeMergerNodeCountOnSameLocationOverMaxCountErrorWithMaxCount(2, 0.5, {}),
        UException);
}

TEST(ErrorCatalogueElementDivider, TextsCodesAndStyles)
{
    const std::array<double, 3> now { 1.0, 2.5, -3.0 };
    const double before[3] { 0.0, 0.125, 1e3 };
    const QString created = QStringLiteral(
        "New node 'n_001' created but the name already exists at different location.");
    expectError({ "92001",
        UFemToolElementDividerSameNameSurfaceNodeCreatedError_withNodeNameStringToBeCreated(
            QStringLiteral("n_001"), now, before),
        92001, created, created,
        QStringLiteral("Location of node created now : ( 1.000000, 2.500000, -3.000000 )\nLocation "
                       "of node created "
                       "before : ( 0.000000, 0.125000, 1000.000000 )"),
        created });
    const QString notCreated = QStringLiteral("Node card 'n7' is not created yet.");
    expectError({ "92002",
        UFemToolElementDividerNodeForElementNotExistError_withNodeNameString(QStringLiteral("n7")),
        92002, notCreated, notCreated,
        QStringLiteral("Element Divider uses Node Cards used in elements. Execute Element Divider "
                       "after all Node created."),
        notCreated });
}
