#pragma once

#include "documents/preferences/UFemFolderItem.h"
#include "documents/preferences/UFemUserPreferencesKeys.h"
#include "documents/window/UFemViewType.h"
#include "foundation/containers/UIndexRange.h"

#include <QImage>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QMenu;
class UFemUserPreferences;
class UFemPreferencesMessageReporter;
class UFemUserPreferencesCache;
class UGLGraphicProcessorInfoManager;
class UUserDefaults;
struct UOpenGLGraphicProcessorInfoRecord;

using UFemUserPreferencesPtr = std::shared_ptr<const UFemUserPreferences>;

// No menu item to select.
inline constexpr qint64 UFemMenuItemTagNotFound = qint64(UNSNotFound);
// Slots of the per-view-type arrays: index 1 card table view, 2 graphic view; 0 and 3 stay empty.
inline constexpr quint64 UFemUserPreferencesViewTypeCount = 4;

using UFemFolderItemEquality
    = std::function<bool(const UFemFolderItemObject& item, const UFemFolderItemObject& other)>;
using UFemFolderItemImage = std::function<QImage(const UFemFolderItemObject&)>;
// Called with the chosen item's tag.
using UFemMenuItemAction = std::function<void(qint64 menuItemTag)>;

// A snapshot of the user preferences: every value read from one user-defaults dictionary at once,
// validated and defaulted, never changed afterwards, so that worker threads read it freely.
// Problems of the stored values go to `messages` as texts for one preferences-file error; the
// snapshot then holds the defaults in their place.
class UFemUserPreferences {
public:
    // --- Class level

    // The registered defaults of the keys that always have a value.
    static QVariantMap registeredDefaults();
    static void registerDefaults(UUserDefaults& userDefaults);
    // The number of active processors.
    static quint64 defaultReferenceThreadCount();
    // The application-wide snapshot over the standard user defaults and the process's renderer
    // catalogue; built on first request and after every change of the user defaults.
    static UFemUserPreferencesPtr applicationUserPreferences();
    static UFemUserPreferencesCache& applicationUserPreferencesCache();
    // Shows the problems met while building any snapshot; the application sets its presenter.
    static UFemPreferencesMessageReporter& applicationPreferencesMessageReporter();
    // The base and default presets of the two view types, which the table and graphic views own
    // (the first item of each is the base). Set at start-up, before the first snapshot.
    static void setDefaultViewPreferencesFolderArrays(
        const QVariantList& tableViewPreferencesFolderArray,
        const QVariantList& graphicViewPreferencesFolderArray);

    // The settings of one folder of the card table's default view settings (0 the base); empty
    // when there is no such folder.
    static QVariantMap defaultTableViewPreferencesOfFolder(quint64 index);

    static UFemUserPreferencesPtr userPreferencesWithPreferencesDictionary(
        const QVariantMap& preferencesDictionary,
        const UGLGraphicProcessorInfoManager& rendererCatalogue, QStringList* messages);

    // --- Folder arrays and menus

    static quint64 folderItemObjectCountWithMenuFolderArray(const UFemFolderArray& menuFolderArray);
    static const UFemFolderItemObject& folderItemObjectWithMenuFolderArray(
        const UFemFolderArray& menuFolderArray, quint64 index);
    static const UFemFolderItemObject& folderItemObjectWithMenuFolderArray(
        const UFemFolderArray& menuFolderArray, qint64 menuItemTag, qint64 menuItemTagOffset);
    static qint64 menuItemTagWithMenuFolderArray(const UFemFolderArray& menuFolderArray,
        const UFemFolderItemObject& folderItemObjectToFind, qint64 menuItemTagOffset,
        const UFemFolderItemEquality& equality);
    // Builds `menu` from the preferences array and the additional one (copied to `menuFolderArray`)
    // and answers the tag to select; an object to select that no item holds is appended as a
    // nameless item with hint 0.
    static qint64 getMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuFolderArray,
        const UFemFolderArray* preferencesFolderArray, const UFemFolderArray* additionalFolderArray,
        qint64 menuItemTagOffset, const UFemFolderItemImage& menuItemImage,
        const UFemMenuItemAction& menuItemAction,
        const std::optional<UFemFolderItemObject>& folderItemObjectToBeSelected,
        const UFemFolderItemEquality& equality);

    // --- Values

    quint64 foregroundTaskThreadCount() const { return foregroundTaskThreadCount_; }
    quint64 backgroundTaskThreadCount() const { return backgroundTaskThreadCount_; }
    quint64 calculationTaskThreadCount() const { return calculationTaskThreadCount_; }
    // All ones when no renderer can draw off-screen: the graphic view then reports its drawing
    // error.
    quint64 virtualScreenIdentifierWithOpenGLContextIndex(quint64) const
    {
        return virtualScreenIdentifier_;
    }
    quint64 renderingOpenGLVersionWithOpenGLContextIndex(quint64) const
    {
        return renderingOpenGLVersion_;
    }
    quint64 offlineRenderingTypeWithOpenGLContextIndex(quint64) const
    {
        return offlineRenderingType_;
    }
    // Empty for slots other than 1 and 2.
    QVariantMap baseViewPreferencesForViewType(UFemViewType viewType) const;
    const UFemFolderArray& viewPreferencesFolderArrayForViewType(UFemViewType viewType) const;
    const UFemFolderArray& cardFilterStringFolderArray() const
    {
        return cardFilterStringFolderArray_;
    }
    const UFemFolderArray& resultTableViewCardValueExprListStringFolderArray() const
    {
        return resultTableViewCardValueExprListStringFolderArray_;
    }
    const UFemFolderArray& graphicViewColorByValueCardValueExprListStringFolderArray() const
    {
        return graphicViewColorByValueCardValueExprListStringFolderArray_;
    }
    const UFemFolderArray& colorScaleFolderArray() const { return colorScaleFolderArray_; }
    const UFemFolderArray& numberFormatterFolderArray() const
    {
        return numberFormatterFolderArray_;
    }
    const UFemNumberFormatter& writingFileNumberFormatter() const
    {
        return writingFileNumberFormatter_;
    }

    // --- The menu family: the menu context is the menu folder array the builder handed back.

    qint64 getViewPreferencesMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext,
        qint64 menuItemTagOffset, const UFemMenuItemAction& menuItemAction,
        const std::optional<QVariantMap>& viewPreferencesToBeSelected, UFemViewType viewType) const;
    static QVariantMap viewPreferencesWithMenuContext(
        const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset);
    static qint64 viewPreferencesMenuTagWithMenuContext(const UFemFolderArray& menuContext,
        const QVariantMap& viewPreferencesToFind, qint64 menuItemTagOffset);
    static quint64 viewPreferencesCountWithMenuContext(const UFemFolderArray& menuContext);
    static QVariantMap viewPreferencesWithMenuContext(
        const UFemFolderArray& menuContext, quint64 index);

    qint64 getCardFilterStringMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext,
        qint64 menuItemTagOffset, const UFemMenuItemAction& menuItemAction,
        const std::optional<QString>& cardFilterStringToBeSelected) const;
    qint64 getResultTableViewCardValueExprListStringMenu(std::unique_ptr<QMenu>* menu,
        UFemFolderArray* menuContext, qint64 menuItemTagOffset,
        const UFemMenuItemAction& menuItemAction,
        const std::optional<QString>& cardValueExprListStringToBeSelected) const;
    qint64 getGraphicViewColorByValueCardValueExprListStringMenu(std::unique_ptr<QMenu>* menu,
        UFemFolderArray* menuContext, qint64 menuItemTagOffset,
        const UFemMenuItemAction& menuItemAction,
        const std::optional<QString>& cardValueExprListStringToBeSelected) const;
    // The text lookups of the three string menus (card filters, result table and colour-by-value
    // expression lists) are one: a null string when the payload is not a text.
    static QString stringWithMenuContext(
        const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset);
    static qint64 stringMenuTagWithMenuContext(
        const UFemFolderArray& menuContext, const QString& stringToFind, qint64 menuItemTagOffset);

    qint64 getColorScaleMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext,
        qint64 menuItemTagOffset, const UFemMenuItemAction& menuItemAction,
        const UFemColorScale* colorScaleToBeSelected) const;
    // A copy the caller may change; null when the payload is not a colour scale.
    static UFemColorScalePtr colorScaleWithMenuContext(
        const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset);
    static qint64 colorScaleMenuTagWithMenuContext(const UFemFolderArray& menuContext,
        const UFemColorScale& colorScaleToFind, qint64 menuItemTagOffset);

    qint64 getNumberFormatterMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext,
        qint64 menuItemTagOffset, const UFemMenuItemAction& menuItemAction,
        const std::optional<UFemNumberFormatter>& numberFormatterToBeSelected) const;
    static std::optional<UFemNumberFormatter> numberFormatterWithMenuContext(
        const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset);
    static qint64 numberFormatterMenuTagWithMenuContext(const UFemFolderArray& menuContext,
        const UFemNumberFormatter& numberFormatterToFind, qint64 menuItemTagOffset);

private:
    struct Filling;

    UFemUserPreferences() = default;
    static void defaultViewPreferencesFolderArrays(QVariantList* tableViewPreferencesFolderArray,
        QVariantList* graphicViewPreferencesFolderArray);

    void updatePreferencesWithPreferencesDictionary(Filling& filling);
    void updateThreadCounts(Filling& filling);
    void updateRenderer(Filling& filling);
    void updateRenderingSettings(
        Filling& filling, const UOpenGLGraphicProcessorInfoRecord& renderer);
    void updateBaseViewPreferences(Filling& filling);
    void updateFolderArrays(Filling& filling);
    void updateWritingFileNumberFormatter(Filling& filling);

    qint64 getStringMenu(const UFemFolderArray& folderArray, std::unique_ptr<QMenu>* menu,
        UFemFolderArray* menuContext, qint64 menuItemTagOffset,
        const UFemMenuItemAction& menuItemAction,
        const std::optional<QString>& stringToBeSelected) const;

    quint64 foregroundTaskThreadCount_ = 0;
    quint64 backgroundTaskThreadCount_ = 0;
    quint64 calculationTaskThreadCount_ = 0;
    quint64 virtualScreenIdentifier_ = 0;
    quint64 renderingOpenGLVersion_ = 0;
    quint64 offlineRenderingType_ = 1;
    std::array<QVariantMap, UFemUserPreferencesViewTypeCount> baseViewPreferencesForViewType_;
    std::array<UFemFolderArray, UFemUserPreferencesViewTypeCount>
        viewPreferencesFolderArrayForViewType_;
    UFemFolderArray cardFilterStringFolderArray_;
    UFemFolderArray resultTableViewCardValueExprListStringFolderArray_;
    UFemFolderArray graphicViewColorByValueCardValueExprListStringFolderArray_;
    UFemFolderArray colorScaleFolderArray_;
    UFemFolderArray numberFormatterFolderArray_;
    UFemNumberFormatter writingFileNumberFormatter_;
};
