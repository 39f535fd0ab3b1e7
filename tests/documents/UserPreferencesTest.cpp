#include "PreferencesTestSupport.h"

#include "RecordingSheetPresenter.h"
#include "documents/preferences/UFemPreferencesMessageReporter.h"
#include "documents/preferences/UFemUserPreferencesCache.h"
#include "foundation/errors/UException.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "graphics/opengl/UOpenGLManager.h"
#include "platform/UNotificationCenter.h"
#include "platform/UUserDefaults.h"

#include <QAction>
#include <QCoreApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>

namespace {

constexpr qint64 tagOffset = 1000;

QStringList menuTitles(const QMenu& menu)
{
    QStringList titles;
    for (const QAction* action : menu.actions())
        titles << (action->isSeparator() ? QStringLiteral("--") : action->text());
    return titles;
}

QStringList folderNames(const UFemFolderArray& folders)
{
    QStringList names;
    for (const UFemFolderItem& item : folders)
        names << item.nameString().value_or(QStringLiteral("(none)"));
    return names;
}

class UserPreferencesTest : public testing::Test {
protected:
    std::unique_ptr<UGLGraphicProcessorInfoManager> catalogue
        = rendererCatalogueOf(threeTestRenderers());
};

TEST_F(UserPreferencesTest, ThreadCountsOutsideOneToSixteenGiveTheProcessorCount)
{
    const quint64 processors = UFemUserPreferences::defaultReferenceThreadCount();
    for (int stored : { 0, 17, 100, -3 }) {
        const auto preferences
            = preferencesWith({ { UFemReferenceThreadCountPreferencesKey, stored } }, *catalogue);
        EXPECT_EQ(preferences->foregroundTaskThreadCount(), processors) << stored;
        EXPECT_EQ(preferences->backgroundTaskThreadCount(), processors) << stored;
        EXPECT_EQ(preferences->calculationTaskThreadCount(), processors) << stored;
    }
    for (int stored : { 1, 16 }) {
        const auto preferences
            = preferencesWith({ { UFemReferenceThreadCountPreferencesKey, stored } }, *catalogue);
        EXPECT_EQ(preferences->foregroundTaskThreadCount(), quint64(stored));
        EXPECT_EQ(preferences->calculationTaskThreadCount(), quint64(stored));
    }
}

TEST_F(UserPreferencesTest, RendererFallsBackToTheDefaultRenderer)
{
    // GPU A (screen 0) is the default: the first that renders off-screen.
    const auto automatic = preferencesWith({}, *catalogue);
    EXPECT_EQ(automatic->virtualScreenIdentifierWithOpenGLContextIndex(0), 0u);
    EXPECT_EQ(automatic->renderingOpenGLVersionWithOpenGLContextIndex(1), UGLOpenGLVersion_1_4);
    EXPECT_EQ(automatic->offlineRenderingTypeWithOpenGLContextIndex(0),
        UGLOfflineRenderingTypePixelBuffer);

    const auto software = preferencesWith(
        { { UFemOpenGLRendererNameStringPreferencesKey, "Software" } }, *catalogue);
    EXPECT_EQ(software->virtualScreenIdentifierWithOpenGLContextIndex(1), 2u);
    EXPECT_EQ(software->offlineRenderingTypeWithOpenGLContextIndex(0),
        UGLOfflineRenderingTypeFrameBufferObject);

    for (const char* name : { "Gone", "GPU B" }) {
        const auto fallback
            = preferencesWith({ { UFemOpenGLRendererNameStringPreferencesKey, name } }, *catalogue);
        EXPECT_EQ(fallback->virtualScreenIdentifierWithOpenGLContextIndex(0), 0u) << name;
    }
}

TEST_F(UserPreferencesTest, RenderingVersionAndOfflineType)
{
    const QVariantMap software { { UFemOpenGLRendererNameStringPreferencesKey, "Software" } };
    QVariantMap stored = software;
    stored.insert(UFemRenderingOpenGLVersionPreferencesKey, 1020);
    EXPECT_EQ(preferencesWith(stored, *catalogue)->renderingOpenGLVersionWithOpenGLContextIndex(0),
        UGLOpenGLVersion_1_4);
    stored.insert(UFemRenderingOpenGLVersionPreferencesKey, 1010);
    EXPECT_EQ(preferencesWith(stored, *catalogue)->renderingOpenGLVersionWithOpenGLContextIndex(0),
        UGLOpenGLVersion_1_1);

    stored.insert(UFemDoesUseOpenGLFrameBufferObjectPreferencesKey, false);
    EXPECT_EQ(preferencesWith(stored, *catalogue)->offlineRenderingTypeWithOpenGLContextIndex(0),
        UGLOfflineRenderingTypePixelBuffer);

    // A renderer without pixel buffers keeps frame buffer objects even when they are switched off.
    const auto frameBufferOnly
        = rendererCatalogueOf({ fakeRenderer("FBO only", 1030, true, false) });
    const auto preferences = preferencesWith(
        { { UFemDoesUseOpenGLFrameBufferObjectPreferencesKey, false } }, *frameBufferOnly);
    EXPECT_EQ(preferences->offlineRenderingTypeWithOpenGLContextIndex(0),
        UGLOfflineRenderingTypeFrameBufferObject);
    EXPECT_EQ(preferences->renderingOpenGLVersionWithOpenGLContextIndex(0), UGLOpenGLVersion_1_1);
}

TEST_F(UserPreferencesTest, WithoutUsableRendererTheThreadCountsStillServe)
{
    const auto nothingOffscreen
        = rendererCatalogueOf({ fakeRenderer("GPU B", 1020, false, false) });
    const auto empty = rendererCatalogueOf({});
    for (const auto* catalogue : { nothingOffscreen.get(), empty.get() }) {
        QStringList messages;
        const auto preferences = preferencesWith(
            { { UFemReferenceThreadCountPreferencesKey, 3 } }, *catalogue, &messages);
        EXPECT_EQ(preferences->virtualScreenIdentifierWithOpenGLContextIndex(0),
            UGLNoVirtualScreenIdentifier);
        EXPECT_EQ(preferences->calculationTaskThreadCount(), 3u);
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(UserPreferencesTest, PreferenceFolderArrayOfManyItemsSortsStablyByHint)
{
    constexpr quint64 count = 40000;
    const struct {
        const char* name;
        std::function<quint64(quint64)> hint;
    } orders[] = {
        { "descending", [](quint64 i) { return count - i; } },
        { "ascending", [](quint64 i) { return i; } },
        { "three hints", [](quint64 i) { return (i * 7) % 3; } },
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.name);
        QVariantList stored;
        for (quint64 i = 0; i < count; ++i)
            stored.append(storedFolderItem(QString::number(i), order.hint(i), "type:A"));
        const auto preferences = preferencesWith(
            { { UFemCardFilterStringFolderArrayPreferencesKey, stored } }, *catalogue);
        const UFemFolderArray& folders = preferences->cardFilterStringFolderArray();
        ASSERT_EQ(folders.size(), count);
        // Equal hints in the order stored: their names, the stored positions, ascend.
        EXPECT_TRUE(std::is_sorted(
            folders.begin(), folders.end(), [](const UFemFolderItem& a, const UFemFolderItem& b) {
                return a.orderHintNumber() != b.orderHintNumber()
                    ? a.orderHintNumber() < b.orderHintNumber()
                    : a.nameString()->toULongLong() < b.nameString()->toULongLong();
            }));
    }
}

TEST_F(UserPreferencesTest, FolderItemsSortByHintAndGroupsArePartedInTheMenu)
{
    const QVariantList stored { storedFolderItem("a", 2100, "type:A"),
        storedFolderItem("b", 1100, "type:B"), storedFolderItem("c", 2100, "type:C"),
        storedFolderItem("d", 1200, "type:D") };
    const auto preferences = preferencesWith(
        { { UFemCardFilterStringFolderArrayPreferencesKey, stored } }, *catalogue);
    EXPECT_EQ(folderNames(preferences->cardFilterStringFolderArray()),
        QStringList({ "b", "d", "a", "c" }));

    std::unique_ptr<QMenu> menu;
    UFemFolderArray context;
    std::vector<qint64> chosen;
    const qint64 selected = preferences->getCardFilterStringMenu(
        &menu, &context, tagOffset, [&](qint64 tag) { chosen.push_back(tag); },
        QStringLiteral("type:C"));
    EXPECT_EQ(selected, tagOffset + 3);
    EXPECT_EQ(menuTitles(*menu), QStringList({ "b", "d", "--", "a", "c" }));
    menu->actions().at(3)->trigger();
    EXPECT_EQ(chosen, std::vector<qint64> { tagOffset + 2 });
    EXPECT_EQ(
        UFemUserPreferences::stringWithMenuContext(context, tagOffset + 2, tagOffset), "type:A");
    EXPECT_EQ(UFemUserPreferences::stringMenuTagWithMenuContext(context, "type:D", tagOffset),
        tagOffset + 1);
    EXPECT_EQ(
        UFemUserPreferences::stringMenuTagWithMenuContext(context, "type:X", tagOffset), tagOffset);
}

TEST_F(UserPreferencesTest, AnObjectNotInTheArrayIsAppendedNameless)
{
    const auto preferences = preferencesWith({}, *catalogue);
    std::unique_ptr<QMenu> menu;
    UFemFolderArray context;
    const qint64 selected = preferences->getCardFilterStringMenu(
        &menu, &context, tagOffset, {}, QStringLiteral("(type:Node)&(name:1)"));
    const qint64 count = qint64(preferences->cardFilterStringFolderArray().size());
    EXPECT_EQ(selected, tagOffset + count);
    ASSERT_EQ(context.size(), size_t(count + 1));
    EXPECT_FALSE(context.back().nameString().has_value());
    EXPECT_EQ(context.back().orderHintNumber(), 0u);
    const QStringList titles = menuTitles(*menu);
    EXPECT_EQ(titles.last(), "(type:Node)&&(name:1)");
    EXPECT_EQ(titles.at(titles.size() - 2), "--");

    std::unique_ptr<QMenu> formatterMenu;
    UFemFolderArray formatterContext;
    const UFemNumberFormatter threeDigits
        = UFemNumberFormatter::_makeSimpleNumberFormatterWithNumberOfDigits(3);
    const qint64 formatterTag = preferences->getNumberFormatterMenu(
        &formatterMenu, &formatterContext, 0, {}, threeDigits);
    EXPECT_EQ(menuTitles(*formatterMenu),
        QStringList({ "NumberFormatter 1", "NumberFormatter 2", "--", "Unknown" }));
    EXPECT_EQ(
        UFemUserPreferences::numberFormatterWithMenuContext(formatterContext, formatterTag, 0),
        threeDigits);
}

TEST_F(UserPreferencesTest, DefaultArraysAndTagLookups)
{
    const auto preferences = preferencesWith({}, *catalogue);
    EXPECT_EQ(preferences->writingFileNumberFormatter(),
        UFemNumberFormatter::defaultWritingFileNumberFormatter());
    EXPECT_EQ(preferences->colorScaleFolderArray().size(), 4u);

    // A preset with a value range is still found by its base scale.
    auto wanted = std::make_shared<UFemColorScale>(
        *std::get<UFemFolderItemColorScale>(preferences->colorScaleFolderArray().at(2).object()));
    UErrorPtr error;
    ASSERT_TRUE(wanted->setColorScaleValueRangeWithRangeMinValue(-5.0, 5.0, &error));
    std::unique_ptr<QMenu> menu;
    UFemFolderArray context;
    EXPECT_EQ(preferences->getColorScaleMenu(&menu, &context, tagOffset, {}, wanted.get()),
        tagOffset + 2);
    EXPECT_EQ(context.size(), 4u);
    EXPECT_FALSE(menu->actions().at(0)->icon().isNull());
    EXPECT_EQ(UFemUserPreferences::colorScaleMenuTagWithMenuContext(context, *wanted, tagOffset),
        tagOffset + 2);

    try {
        UFemUserPreferences::folderItemObjectWithMenuFolderArray(context, tagOffset + 4, tagOffset);
        ADD_FAILURE() << "no program error";
    } catch (const UException& exception) {
        EXPECT_EQ(exception.reason(), "aMenuItemTag is not within the range.");
    }
    EXPECT_THROW(
        UFemUserPreferences::folderItemObjectWithMenuFolderArray(context, tagOffset - 1, tagOffset),
        UException);
    EXPECT_THROW(
        UFemUserPreferences::folderItemObjectWithMenuFolderArray(context, quint64(4)), UException);
}

TEST_F(UserPreferencesTest, FirstItemOfTheDefaultViewPresetsIsTheBase)
{
    const QVariantMap base { { "RowHeightTableViewPreferenceKey", 17.0 } };
    const QVariantMap preset { { "RowHeightTableViewPreferenceKey", 21.0 } };
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays(
        { storedFolderItem("Base", 1000, base), storedFolderItem("Large", 1100, preset) }, {});
    const auto preferences = preferencesWith({}, *catalogue);
    UFemUserPreferences::setDefaultViewPreferencesFolderArrays({}, {});

    EXPECT_EQ(preferences->baseViewPreferencesForViewType(UFemViewTypeCard), base);
    EXPECT_EQ(folderNames(preferences->viewPreferencesFolderArrayForViewType(UFemViewTypeCard)),
        QStringList({ "Large" }));
    EXPECT_TRUE(preferences->baseViewPreferencesForViewType(UFemViewTypeGraphic).isEmpty());
    EXPECT_TRUE(preferences->viewPreferencesFolderArrayForViewType(UFemViewTypeInfo).empty());

    std::unique_ptr<QMenu> menu;
    UFemFolderArray context;
    EXPECT_EQ(
        preferences->getViewPreferencesMenu(&menu, &context, 0, {}, preset, UFemViewTypeCard), 0);
    EXPECT_EQ(UFemUserPreferences::viewPreferencesWithMenuContext(context, quint64(0)), preset);
}

TEST_F(UserPreferencesTest, WronglyTypedValuesAreSkippedWithMessages)
{
    QVariantMap badHint = storedFolderItem("bad hint", 0, "type:Rod");
    badHint.insert(UFemFolderItemOrderHintNumberPreferencesKey, "x");
    const QVariantList filters { storedFolderItem("ok", 1100, "type:Node"), 5, badHint,
        QVariantMap { { UFemFolderItemObjectPreferencesKey, "type:Quad" } } };
    QStringList messages;
    const auto preferences
        = preferencesWith({ { UFemReferenceThreadCountPreferencesKey, "eight" },
                              { UFemNumberFormatterFolderArrayPreferencesKey, "not an array" },
                              { UFemCardFilterStringFolderArrayPreferencesKey, filters } },
            *catalogue, &messages);

    EXPECT_EQ(preferences->foregroundTaskThreadCount(),
        UFemUserPreferences::defaultReferenceThreadCount());
    EXPECT_EQ(folderNames(preferences->numberFormatterFolderArray()),
        QStringList({ "NumberFormatter 1", "NumberFormatter 2" }));
    EXPECT_EQ(
        folderNames(preferences->cardFilterStringFolderArray()), QStringList({ "(none)", "ok" }));
    EXPECT_EQ(messages,
        QStringList({
            "The value of key:UFemReferenceThreadCountPreferencesKey has a wrong type. The default "
            "value is used.",
            "The object of index:2 in the array of "
            "key:UFemCardFilterStringFolderArrayPreferencesKey is not a "
            "folder item of the right types. It is skipped.",
            "The object of index:3 in the array of "
            "key:UFemCardFilterStringFolderArrayPreferencesKey is not a "
            "folder item of the right types. It is skipped.",
            "key:UFemFolderItemNameStringPreferencesKey, "
            "UFemFolderItemOrderHintNumberPreferencesKey, "
            "UFemFolderItemObjectPreferencesKey and the values should exist in object of index:4 "
            "in the array of "
            "key:UFemCardFilterStringFolderArrayPreferencesKey, but one ( or more ) of them "
            "doesn't exist.",
            "The value of key:UFemNumberFormatterFolderArrayPreferencesKey has a wrong type. The "
            "default value is "
            "used.",
        }));
}

// Preferences kept in a file of their own, with one application and one document snapshot that
// share a reporter, as in the program.
class UserPreferencesFileTest : public UserPreferencesTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        reporter.setPresenter(UFemPreferencesMessageReporter::presenterWithSheetPresenter(sheets));
    }

    std::unique_ptr<UUserDefaults> openDefaults()
    {
        auto defaults = std::make_unique<UUserDefaults>(directory.filePath("prefs.cbor"));
        UFemUserPreferences::registerDefaults(*defaults);
        return defaults;
    }

    // Dropped on every change of `defaults`, after the reporter has been reset.
    std::unique_ptr<UFemUserPreferencesCache> cacheOver(UUserDefaults& defaults)
    {
        if (!resetObservation.isActive()) {
            resetObservation
                = UNotificationCenter::defaultCenter().observe(UUserDefaultsDidChangeNotification,
                    &defaults, [this](const UNotification&) { reporter.userDefaultsDidChange(); });
        }
        auto cache = std::make_unique<UFemUserPreferencesCache>(
            [&defaults] { return defaults.dictionaryRepresentation(); }, *catalogue, reporter);
        cache->dropOnChangesOf(defaults);
        return cache;
    }

    QTemporaryDir directory;
    UFemPreferencesMessageReporter reporter;
    RecordingSheetPresenter sheets;
    UNotificationObservation resetObservation;
};

TEST_F(UserPreferencesFileTest, WronglyTypedFileGivesDefaultsAndOneMessagePerChange)
{
    auto defaults = openDefaults();
    defaults->setObject("sixteen", UFemReferenceThreadCountPreferencesKey);
    defaults->setObject(QVariantList { 1, 2 }, UFemColorScaleFolderArrayPreferencesKey);
    auto application = cacheOver(*defaults);
    auto document = cacheOver(*defaults);

    const auto first = application->userPreferences();
    EXPECT_EQ(document->userPreferences()->colorScaleFolderArray().size(), 0u);
    EXPECT_EQ(first, application->userPreferences());
    EXPECT_TRUE(sheets.alerts.empty()) << "shown later, on the main thread's event loop";
    QCoreApplication::processEvents();
    ASSERT_EQ(sheets.alerts.size(), 1u);
    EXPECT_EQ(sheets.alerts[0].messageText,
        "An error exist in Preferences file. Continues with default value, etc.");
    EXPECT_TRUE(sheets.alerts[0].informativeText.startsWith(
        "The value of key:UFemReferenceThreadCountPreferencesKey has a wrong type. The default "
        "value is used.\n"
        "The object of index:1 in the array of key:UFemColorScaleFolderArrayPreferencesKey"));
    EXPECT_EQ(
        first->foregroundTaskThreadCount(), UFemUserPreferences::defaultReferenceThreadCount());

    // A change drops both snapshots; the problem is shown once more.
    defaults->setInteger(6, UFemReferenceThreadCountPreferencesKey);
    EXPECT_EQ(application->userPreferences()->foregroundTaskThreadCount(), 6u);
    EXPECT_EQ(
        first->foregroundTaskThreadCount(), UFemUserPreferences::defaultReferenceThreadCount());
    document->userPreferences();
    QCoreApplication::processEvents();
    EXPECT_EQ(sheets.alerts.size(), 2u);
}

TEST_F(UserPreferencesFileTest, UnreadableFileGivesTheDefaults)
{
    {
        QFile file(directory.filePath("prefs.cbor"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("\xff\x00garbage, not a settings file", 30);
    }
    auto defaults = openDefaults();
    const auto preferences = cacheOver(*defaults)->userPreferences();
    const auto expected = preferencesWith({}, *catalogue);
    EXPECT_EQ(preferences->foregroundTaskThreadCount(), expected->foregroundTaskThreadCount());
    EXPECT_EQ(folderNames(preferences->cardFilterStringFolderArray()),
        folderNames(expected->cardFilterStringFolderArray()));
    EXPECT_EQ(preferences->writingFileNumberFormatter(), expected->writingFileNumberFormatter());
}

} // namespace
