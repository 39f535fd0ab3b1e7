#include "documents/preferences/UFemUserPreferences.h"

#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QPixmap>

namespace {

// Items whose hints share the thousands form one group; groups are parted by separators.
constexpr quint64 orderHintGroupSize = 1000;

template <typename Payload, typename Equal> UFemFolderItemEquality typedEquality(Equal equal)
{
    return [equal](const UFemFolderItemObject& item, const UFemFolderItemObject& other) {
        const Payload* itemPayload = std::get_if<Payload>(&item);
        const Payload* otherPayload = std::get_if<Payload>(&other);
        return itemPayload && otherPayload && equal(*itemPayload, *otherPayload);
    };
}

const UFemFolderItemEquality equalDictionaries
    = typedEquality<QVariantMap>(std::equal_to<QVariantMap>());
const UFemFolderItemEquality equalStrings = typedEquality<QString>(std::equal_to<QString>());
const UFemFolderItemEquality equalNumberFormatters
    = typedEquality<UFemNumberFormatter>(std::equal_to<UFemNumberFormatter>());
const UFemFolderItemEquality equalBaseColorScales = typedEquality<UFemFolderItemColorScale>(
    [](const UFemFolderItemColorScale& item, const UFemFolderItemColorScale& other) {
        return item && other && item->isBaseColorScaleEqualToColorScale(*other);
    });

QString menuItemTitle(const UFemFolderItem& item)
{
    QString title;
    if (item.nameString())
        title = *item.nameString();
    else if (const QString* text = std::get_if<QString>(&item.object()))
        title = *text;
    else
        title = ULocalizedFormattedString("Unknown");
    // A lone '&' would make a shortcut letter of the next one, and filter texts hold them.
    return title.replace(QLatin1Char('&'), QLatin1String("&&"));
}

QImage colorScaleMenuItemImage(const UFemFolderItemObject& object)
{
    const UFemFolderItemColorScale* colorScale = std::get_if<UFemFolderItemColorScale>(&object);
    return colorScale && *colorScale ? (*colorScale)->colorScaleLabelImageForMenuItem() : QImage();
}

} // namespace

quint64 UFemUserPreferences::folderItemObjectCountWithMenuFolderArray(
    const UFemFolderArray& menuFolderArray)
{
    return menuFolderArray.size();
}

const UFemFolderItemObject& UFemUserPreferences::folderItemObjectWithMenuFolderArray(
    const UFemFolderArray& menuFolderArray, quint64 index)
{
    if (index >= menuFolderArray.size())
        UFemRaiseProgramError(QStringLiteral("anIndex >= aFolderArrayCount."));
    return menuFolderArray[index].object();
}

const UFemFolderItemObject& UFemUserPreferences::folderItemObjectWithMenuFolderArray(
    const UFemFolderArray& menuFolderArray, qint64 menuItemTag, qint64 menuItemTagOffset)
{
    if (menuItemTag < menuItemTagOffset
        || quint64(menuItemTag - menuItemTagOffset) >= menuFolderArray.size())
        UFemRaiseProgramError(QStringLiteral("aMenuItemTag is not within the range."));
    return menuFolderArray[quint64(menuItemTag - menuItemTagOffset)].object();
}

qint64 UFemUserPreferences::menuItemTagWithMenuFolderArray(const UFemFolderArray& menuFolderArray,
    const UFemFolderItemObject& folderItemObjectToFind, qint64 menuItemTagOffset,
    const UFemFolderItemEquality& equality)
{
    for (size_t index = 0; index < menuFolderArray.size(); ++index) {
        if (equality(menuFolderArray[index].object(), folderItemObjectToFind))
            return menuItemTagOffset + qint64(index);
    }
    return menuItemTagOffset;
}

qint64 UFemUserPreferences::getMenu(std::unique_ptr<QMenu>* menu, UFemFolderArray* menuFolderArray,
    const UFemFolderArray* preferencesFolderArray, const UFemFolderArray* additionalFolderArray,
    qint64 menuItemTagOffset, const UFemFolderItemImage& menuItemImage,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<UFemFolderItemObject>& folderItemObjectToBeSelected,
    const UFemFolderItemEquality& equality)
{
    UFemFolderArray folders;
    for (const UFemFolderArray* array : { preferencesFolderArray, additionalFolderArray }) {
        if (array)
            folders.insert(folders.end(), array->begin(), array->end());
    }
    qint64 tagToSelect = UFemMenuItemTagNotFound;
    if (folderItemObjectToBeSelected) {
        const auto found
            = std::find_if(folders.begin(), folders.end(), [&](const UFemFolderItem& item) {
                  return equality(item.object(), *folderItemObjectToBeSelected);
              });
        const qint64 index = found - folders.begin();
        if (found == folders.end())
            folders.push_back(UFemFolderItem::folderItemWithNameString(
                std::nullopt, 0, *folderItemObjectToBeSelected));
        tagToSelect = menuItemTagOffset + index;
    }
    auto built = std::make_unique<QMenu>();
    for (size_t index = 0; index < folders.size(); ++index) {
        const quint64 group = folders[index].orderHintNumber() / orderHintGroupSize;
        if (index > 0 && group != folders[index - 1].orderHintNumber() / orderHintGroupSize)
            built->addSeparator();
        QAction* action = built->addAction(menuItemTitle(folders[index]));
        const qint64 tag = menuItemTagOffset + qint64(index);
        action->setData(tag);
        if (menuItemImage)
            action->setIcon(QIcon(QPixmap::fromImage(menuItemImage(folders[index].object()))));
        if (menuItemAction)
            QObject::connect(action, &QAction::triggered, built.get(),
                [menuItemAction, tag] { menuItemAction(tag); });
    }
    *menu = std::move(built);
    *menuFolderArray = std::move(folders);
    return tagToSelect;
}

qint64 UFemUserPreferences::getViewPreferencesMenu(std::unique_ptr<QMenu>* menu,
    UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<QVariantMap>& viewPreferencesToBeSelected, UFemViewType viewType) const
{
    std::optional<UFemFolderItemObject> toSelect;
    if (viewPreferencesToBeSelected)
        toSelect = *viewPreferencesToBeSelected;
    return getMenu(menu, menuContext, &viewPreferencesFolderArrayForViewType(viewType), nullptr,
        menuItemTagOffset, {}, menuItemAction, toSelect, equalDictionaries);
}

QVariantMap UFemUserPreferences::viewPreferencesWithMenuContext(
    const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset)
{
    const UFemFolderItemObject& object
        = folderItemObjectWithMenuFolderArray(menuContext, menuItemTag, menuItemTagOffset);
    const QVariantMap* dictionary = std::get_if<QVariantMap>(&object);
    return dictionary ? *dictionary : QVariantMap();
}

qint64 UFemUserPreferences::viewPreferencesMenuTagWithMenuContext(
    const UFemFolderArray& menuContext, const QVariantMap& viewPreferencesToFind,
    qint64 menuItemTagOffset)
{
    return menuItemTagWithMenuFolderArray(
        menuContext, viewPreferencesToFind, menuItemTagOffset, equalDictionaries);
}

quint64 UFemUserPreferences::viewPreferencesCountWithMenuContext(const UFemFolderArray& menuContext)
{
    return folderItemObjectCountWithMenuFolderArray(menuContext);
}

QVariantMap UFemUserPreferences::viewPreferencesWithMenuContext(
    const UFemFolderArray& menuContext, quint64 index)
{
    const QVariantMap* dictionary
        = std::get_if<QVariantMap>(&folderItemObjectWithMenuFolderArray(menuContext, index));
    return dictionary ? *dictionary : QVariantMap();
}

qint64 UFemUserPreferences::getStringMenu(const UFemFolderArray& folderArray,
    std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<QString>& stringToBeSelected) const
{
    std::optional<UFemFolderItemObject> toSelect;
    if (stringToBeSelected)
        toSelect = *stringToBeSelected;
    return getMenu(menu, menuContext, &folderArray, nullptr, menuItemTagOffset, {}, menuItemAction,
        toSelect, equalStrings);
}

qint64 UFemUserPreferences::getCardFilterStringMenu(std::unique_ptr<QMenu>* menu,
    UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<QString>& cardFilterStringToBeSelected) const
{
    return getStringMenu(cardFilterStringFolderArray_, menu, menuContext, menuItemTagOffset,
        menuItemAction, cardFilterStringToBeSelected);
}

qint64 UFemUserPreferences::getResultTableViewCardValueExprListStringMenu(
    std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<QString>& cardValueExprListStringToBeSelected) const
{
    return getStringMenu(resultTableViewCardValueExprListStringFolderArray_, menu, menuContext,
        menuItemTagOffset, menuItemAction, cardValueExprListStringToBeSelected);
}

qint64 UFemUserPreferences::getGraphicViewColorByValueCardValueExprListStringMenu(
    std::unique_ptr<QMenu>* menu, UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<QString>& cardValueExprListStringToBeSelected) const
{
    return getStringMenu(graphicViewColorByValueCardValueExprListStringFolderArray_, menu,
        menuContext, menuItemTagOffset, menuItemAction, cardValueExprListStringToBeSelected);
}

QString UFemUserPreferences::stringWithMenuContext(
    const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset)
{
    const QString* text = std::get_if<QString>(
        &folderItemObjectWithMenuFolderArray(menuContext, menuItemTag, menuItemTagOffset));
    return text ? *text : QString();
}

qint64 UFemUserPreferences::stringMenuTagWithMenuContext(
    const UFemFolderArray& menuContext, const QString& stringToFind, qint64 menuItemTagOffset)
{
    return menuItemTagWithMenuFolderArray(
        menuContext, stringToFind, menuItemTagOffset, equalStrings);
}

qint64 UFemUserPreferences::getColorScaleMenu(std::unique_ptr<QMenu>* menu,
    UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction, const UFemColorScale* colorScaleToBeSelected) const
{
    std::optional<UFemFolderItemObject> toSelect;
    // A copy, so that later changes of the caller's scale leave the menu's item alone.
    if (colorScaleToBeSelected)
        toSelect = UFemFolderItemColorScale(
            std::make_shared<const UFemColorScale>(*colorScaleToBeSelected));
    return getMenu(menu, menuContext, &colorScaleFolderArray_, nullptr, menuItemTagOffset,
        colorScaleMenuItemImage, menuItemAction, toSelect, equalBaseColorScales);
}

UFemColorScalePtr UFemUserPreferences::colorScaleWithMenuContext(
    const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset)
{
    const UFemFolderItemColorScale* colorScale = std::get_if<UFemFolderItemColorScale>(
        &folderItemObjectWithMenuFolderArray(menuContext, menuItemTag, menuItemTagOffset));
    return colorScale && *colorScale ? std::make_shared<UFemColorScale>(**colorScale) : nullptr;
}

qint64 UFemUserPreferences::colorScaleMenuTagWithMenuContext(const UFemFolderArray& menuContext,
    const UFemColorScale& colorScaleToFind, qint64 menuItemTagOffset)
{
    // The scale is only compared, never kept, so it is borrowed without a copy.
    const UFemFolderItemColorScale borrowed(&colorScaleToFind, [](const UFemColorScale*) {});
    return menuItemTagWithMenuFolderArray(
        menuContext, borrowed, menuItemTagOffset, equalBaseColorScales);
}

qint64 UFemUserPreferences::getNumberFormatterMenu(std::unique_ptr<QMenu>* menu,
    UFemFolderArray* menuContext, qint64 menuItemTagOffset,
    const UFemMenuItemAction& menuItemAction,
    const std::optional<UFemNumberFormatter>& numberFormatterToBeSelected) const
{
    std::optional<UFemFolderItemObject> toSelect;
    if (numberFormatterToBeSelected)
        toSelect = *numberFormatterToBeSelected;
    return getMenu(menu, menuContext, &numberFormatterFolderArray_, nullptr, menuItemTagOffset, {},
        menuItemAction, toSelect, equalNumberFormatters);
}

std::optional<UFemNumberFormatter> UFemUserPreferences::numberFormatterWithMenuContext(
    const UFemFolderArray& menuContext, qint64 menuItemTag, qint64 menuItemTagOffset)
{
    const UFemNumberFormatter* formatter = std::get_if<UFemNumberFormatter>(
        &folderItemObjectWithMenuFolderArray(menuContext, menuItemTag, menuItemTagOffset));
    return formatter ? std::optional<UFemNumberFormatter>(*formatter) : std::nullopt;
}

qint64 UFemUserPreferences::numberFormatterMenuTagWithMenuContext(
    const UFemFolderArray& menuContext, const UFemNumberFormatter& numberFormatterToFind,
    qint64 menuItemTagOffset)
{
    return menuItemTagWithMenuFolderArray(
        menuContext, numberFormatterToFind, menuItemTagOffset, equalNumberFormatters);
}
