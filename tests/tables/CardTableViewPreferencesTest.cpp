#include "CardTableViewTestSupport.h"
#include "PreferencesTestSupport.h"

#include "foundation/UFemFolderItemKeys.h"
#include "tables/UFemTableViewPreferences.h"
#include "tables/UFemTableViewPreferencesViewController.h"
#include "tables/resulttable/UFemResultTablePane.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace {

const QString resultList
    = QStringLiteral("#(type:Node): Displacement;\n#(type:Elem): VonMisesStress;\n");

QVariantMap objectOfFolder(const QVariantList& folders, int index)
{
    return folders.at(index).toMap().value(UFemFolderItemObjectPreferencesKey).toMap();
}

} // namespace

TEST(CardTableViewPreferencesFolders, FourDefaultFoldersInOrder)
{
    const QVariantList folders = UFemTableViewPreferences::defaultTableViewPreferencesFolderArray();
    ASSERT_EQ(folders.size(), 4);
    EXPECT_EQ(folders[0].toMap().keys(), QStringList { UFemFolderItemObjectPreferencesKey });
    const QStringList names { "", "Model", "Model with Error", "Result" };
    const QList<int> hints { 0, 1100, 1200, 2100 };
    for (int i = 1; i < 4; ++i) {
        EXPECT_EQ(
            folders[i].toMap().value(UFemFolderItemNameStringPreferencesKey).toString(), names[i]);
        EXPECT_EQ(folders[i].toMap().value(UFemFolderItemOrderHintNumberPreferencesKey).toInt(),
            hints[i]);
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(objectOfFolder(folders, i).size(), 8) << i;
    EXPECT_TRUE(
        objectOfFolder(folders, 2).value(IsErrorStringColumnActiveTableViewPreferenceKey).toBool());
    EXPECT_FALSE(
        objectOfFolder(folders, 1).value(IsErrorStringColumnActiveTableViewPreferenceKey).toBool());
    const QVariantMap result = objectOfFolder(folders, 3);
    EXPECT_TRUE(result.value(IsCardNameStringColumnActiveTableViewPreferenceKey).toBool());
    EXPECT_FALSE(result.value(IsCardStringColumnActiveTableViewPreferenceKey).toBool());
    EXPECT_TRUE(result.value(IsResultTableViewActiveTableViewPreferenceKey).toBool());
    EXPECT_EQ(result.value(ResultTableViewCardValueExprListStringTableViewPreferenceKey).toString(),
        resultList);
    EXPECT_EQ(objectOfFolder(folders, 0), objectOfFolder(folders, 1));
}

TEST(CardTableViewPreferencesView, StartsWithRowIndexAndCardStringOnly)
{
    UFemTableViewPreferencesViewController view;
    UErrorPtr error;
    const QVariantMap preferences = view.viewPreferences(&error);
    EXPECT_EQ(preferences,
        UFemTableViewPreferences::tableViewPreferences(true, false, true, false, false, ""));
    EXPECT_FALSE(view.isResultTableViewActive());
}

// The view shows what it is given and hands back what the user changed.
TEST(CardTableViewPreferencesView, RoundTripThroughTheControls)
{
    UFemTableViewPreferencesViewController view;
    UErrorPtr error;
    QVariantMap given = UFemTableViewPreferences::defaultTableViewPreferencesOfFolderIndex(3);
    given[IsCardTableViewOtherValueActiveTableViewPreferenceKey] = true;
    given[CardTableViewOtherValueListStringTableViewPreferenceKey] = QStringLiteral("Length;");
    ASSERT_TRUE(view.setViewPreferences(given, &error));
    EXPECT_EQ(view.viewPreferences(&error), given);
    EXPECT_TRUE(view.isResultTableViewActive());

    QWidget& box = *view.preferencesViewBox();
    auto* resultText = box.findChild<QPlainTextEdit*>("resultTableViewCardValueExprListString");
    ASSERT_NE(resultText, nullptr);
    EXPECT_TRUE(resultText->isEnabled());
    box.findChild<QCheckBox*>("resultTableViewActive")->setChecked(false);
    EXPECT_FALSE(resultText->isEnabled());
    box.findChild<QCheckBox*>("errorStringColumnActive")->setChecked(true);
    const QVariantMap edited = view.viewPreferences(&error);
    EXPECT_FALSE(edited.value(IsResultTableViewActiveTableViewPreferenceKey).toBool());
    EXPECT_EQ(
        edited.value(ResultTableViewCardValueExprListStringTableViewPreferenceKey), resultList);
    EXPECT_TRUE(edited.value(IsErrorStringColumnActiveTableViewPreferenceKey).toBool());
    EXPECT_EQ(edited.value(CardTableViewOtherValueListStringTableViewPreferenceKey), "Length;");
}

class CardTableViewPreferences : public CardTableViewFixture { };

TEST_F(CardTableViewPreferences, ApplyingShowsColumnsAndTheResultTable)
{
    UErrorPtr error;
    const QVariantMap result
        = UFemTableViewPreferences::defaultTableViewPreferencesOfFolderIndex(3);
    ASSERT_TRUE(controller->setViewPreferences(result, &error));
    EXPECT_EQ(controller->viewPreferences(), result);
    EXPECT_TRUE(table->isCardNameStringColumnActive());
    EXPECT_FALSE(table->isCardStringColumnActive());
    EXPECT_EQ(controller->resultTablePane()->resultTableViewCardValueExprListString(), resultList);
    EXPECT_EQ(cell(int(model->endRow()), UFemCardTableModel::CardRowIndexColumn), "<end>");

    // Off with a list: the result table gets none.
    QVariantMap off = result;
    off[IsResultTableViewActiveTableViewPreferenceKey] = false;
    ASSERT_TRUE(controller->setViewPreferences(off, &error));
    EXPECT_EQ(controller->resultTablePane()->resultTableViewCardValueExprListString(), "");

    // The preferences view is made once, with the controller as its delegate.
    EXPECT_EQ(
        controller->preferencesViewController(), &controller->tableViewPreferencesViewController());
}

TEST_F(CardTableViewPreferences, ABadExpressionListIsRefusedAndKeepsTheColumns)
{
    UErrorPtr error;
    QVariantMap bad = UFemTableViewPreferences::defaultTableViewPreferencesOfFolderIndex(3);
    bad[ResultTableViewCardValueExprListStringTableViewPreferenceKey] = QStringLiteral("#(type:");
    EXPECT_FALSE(controller->setViewPreferences(bad, &error));
    ASSERT_NE(error, nullptr);
}

// The user preferences take the card table's defaults as the base of view type 1 and its
// three named presets, each with its dictionary as it stands.
TEST(CardTableViewPreferencesFolders, UserPreferencesReadTheDefaults)
{
    const QVariantList folders = UFemTableViewPreferences::defaultTableViewPreferencesFolderArray();
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(folders, {});
    const auto catalogue = rendererCatalogueOf(threeTestRenderers());
    const auto preferences = preferencesWith({}, *catalogue);
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays({}, {});

    EXPECT_EQ(
        preferences->baseViewPreferencesForViewType(UFemViewTypeCard), objectOfFolder(folders, 0));
    const UFemFolderArray& presets
        = preferences->viewPreferencesFolderArrayForViewType(UFemViewTypeCard);
    ASSERT_EQ(presets.size(), 3u);
    const QStringList names { "Model", "Model with Error", "Result" };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(presets[i].nameString(), names[i]);
        EXPECT_EQ(std::get<QVariantMap>(presets[i].object()), objectOfFolder(folders, i + 1));
    }
}
