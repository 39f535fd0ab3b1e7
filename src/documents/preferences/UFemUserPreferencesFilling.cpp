#include "documents/preferences/UFemUserPreferences.h"

#include "cardmodel/expression/UFemCardValueExprList.h"
#include "cardmodel/filter/UFemCardFilter.h"
#include "documents/window/UFemViewType.h"
#include "foundation/UFemFolderItemKeys.h"
#include "foundation/errors/UException.h"
#include "foundation/strings/UFormattedString.h"
#include "graphics/opengl/UGLGraphicProcessorInfoManager.h"
#include "graphics/opengl/UGLOpenGLVersion.h"
#include "graphics/opengl/UOpenGLManager.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

constexpr qsizetype folderArrayCapacity = 8;
constexpr double largestExactInteger = 9007199254740992.0; // 2^53

enum class PayloadKind { dictionary, string, colorScale, numberFormatter };

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

// A whole, non-negative number; anything else has no unsigned value.
std::optional<quint64> unsignedValue(const QVariant& value)
{
    if (!isNumber(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::Double) {
        const double number = value.toDouble();
        if (!std::isfinite(number) || number < 0.0 || number >= largestExactInteger
            || std::trunc(number) != number)
            return std::nullopt;
        return quint64(number);
    }
    if (value.typeId() != QMetaType::ULongLong && value.toLongLong() < 0)
        return std::nullopt;
    return value.toULongLong();
}

QString wrongTypeMessage(const QString& key)
{
    return ULocalizedFormattedString(
        "The value of key:%@ has a wrong type. The default value is used.", key);
}

QString missingItemKeysMessage(quint64 itemNumber, const QString& key)
{
    return ULocalizedFormattedString(
        "key:UFemFolderItemNameStringPreferencesKey, UFemFolderItemOrderHintNumberPreferencesKey, "
        "UFemFolderItemObjectPreferencesKey and the values should exist in object of index:%lu in "
        "the array of "
        "key:%@, but one ( or more ) of them doesn't exist.",
        itemNumber, key);
}

QString wrongItemMessage(quint64 itemNumber, const QString& key)
{
    return ULocalizedFormattedString("The object of index:%lu in the array of key:%@ is not a "
                                     "folder item of the right types. It is skipped.",
        itemNumber, key);
}

std::optional<UFemFolderItemObject> convertedPayload(const QVariant& stored, PayloadKind kind)
{
    if (!stored.isValid())
        return UFemFolderItemObject();
    if (kind == PayloadKind::string)
        return stored.typeId() == QMetaType::QString
            ? std::optional<UFemFolderItemObject>(stored.toString())
            : std::nullopt;
    if (stored.typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    const QVariantMap dictionary = stored.toMap();
    switch (kind) {
    case PayloadKind::colorScale:
        return UFemFolderItemColorScale(
            UFemColorScale::colorScaleWithPreferenceColorScale(dictionary));
    case PayloadKind::numberFormatter:
        return UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(dictionary);
    default:
        return dictionary;
    }
}

// One sort, not an insertion per item (quadratic for thousands of items); items of equal hint
// keep the order they were stored in. The positions are sorted, then the items moved once.
void sortFolderArrayByHint(UFemFolderArray& array)
{
    std::vector<std::pair<quint64, size_t>> order;
    order.reserve(array.size());
    for (size_t index = 0; index < array.size(); ++index)
        order.emplace_back(array[index].orderHintNumber(), index);
    std::sort(order.begin(), order.end());
    UFemFolderArray sorted;
    sorted.reserve(array.size());
    for (const auto& entry : order)
        sorted.push_back(std::move(array[entry.second]));
    array = std::move(sorted);
}

} // namespace

struct UFemUserPreferences::Filling {
    const QVariantMap& dictionary;
    const UGLGraphicProcessorInfoManager& catalogue;
    QStringList* messages;
    QVariantList defaultTableViewPreferencesFolderArray;
    QVariantList defaultGraphicViewPreferencesFolderArray;

    void addMessage(const QString& message) const
    {
        if (messages)
            messages->append(message);
    }

    // The stored value when it has the type `isRightType` accepts; a value of another type is
    // reported and treated as absent.
    template <typename Check> QVariant value(const QString& key, Check isRightType) const
    {
        const QVariant stored = dictionary.value(key);
        if (!stored.isValid() || isRightType(stored))
            return stored;
        addMessage(wrongTypeMessage(key));
        return QVariant();
    }

    void addFolderItem(UFemFolderArray& array, const QVariant& stored, quint64 itemNumber,
        const QString& key, PayloadKind kind) const;
};

void UFemUserPreferences::Filling::addFolderItem(UFemFolderArray& array, const QVariant& stored,
    quint64 itemNumber, const QString& key, PayloadKind kind) const
{
    if (stored.typeId() != QMetaType::QVariantMap) {
        addMessage(wrongItemMessage(itemNumber, key));
        return;
    }
    const QVariantMap item = stored.toMap();
    const QVariant name = item.value(UFemFolderItemNameStringPreferencesKey);
    const QVariant hint = item.value(UFemFolderItemOrderHintNumberPreferencesKey);
    const QVariant object = item.value(UFemFolderItemObjectPreferencesKey);
    const std::optional<quint64> hintValue = hint.isValid() ? unsignedValue(hint) : quint64(0);
    const std::optional<UFemFolderItemObject> payload = convertedPayload(object, kind);
    if ((name.isValid() && name.typeId() != QMetaType::QString) || !hintValue || !payload) {
        addMessage(wrongItemMessage(itemNumber, key));
        return;
    }
    if (!name.isValid() || !hint.isValid() || !object.isValid())
        addMessage(missingItemKeysMessage(itemNumber, key));
    std::optional<QString> nameString;
    if (name.isValid())
        nameString = name.toString();
    // Appended; the filling sorts each array once it is full.
    array.push_back(
        UFemFolderItem::folderItemWithNameString(std::move(nameString), *hintValue, *payload));
}

UFemUserPreferencesPtr UFemUserPreferences::userPreferencesWithPreferencesDictionary(
    const QVariantMap& preferencesDictionary,
    const UGLGraphicProcessorInfoManager& rendererCatalogue, QStringList* messages)
{
    Filling filling { preferencesDictionary, rendererCatalogue, messages, {}, {} };
    defaultViewPreferencesFolderArrays(&filling.defaultTableViewPreferencesFolderArray,
        &filling.defaultGraphicViewPreferencesFolderArray);
    std::shared_ptr<UFemUserPreferences> preferences(new UFemUserPreferences());
    preferences->updatePreferencesWithPreferencesDictionary(filling);
    return preferences;
}

void UFemUserPreferences::updatePreferencesWithPreferencesDictionary(Filling& filling)
{
    updateThreadCounts(filling);
    updateRenderer(filling);
    updateBaseViewPreferences(filling);
    updateFolderArrays(filling);
    updateWritingFileNumberFormatter(filling);
}

void UFemUserPreferences::updateThreadCounts(Filling& filling)
{
    const QVariant stored = filling.value(UFemReferenceThreadCountPreferencesKey, isNumber);
    const quint64 count = UThreadCountPreference::threadCountWithReferenceThreadCount(
        stored.isValid() ? stored : QVariant(0), defaultReferenceThreadCount());
    foregroundTaskThreadCount_ = count;
    backgroundTaskThreadCount_ = count;
    calculationTaskThreadCount_ = count;
}

void UFemUserPreferences::updateRenderer(Filling& filling)
{
    const QString rendererName
        = filling
              .value(UFemOpenGLRendererNameStringPreferencesKey,
                  [](const QVariant& value) { return value.typeId() == QMetaType::QString; })
              .toString();
    const UGLGraphicProcessorInfoManager& catalogue = filling.catalogue;
    const quint64 defaultRenderer = catalogue.defaultRendererVirtualScreenIdentifier();
    quint64 renderer = defaultRenderer;
    if (!rendererName.isEmpty()) {
        UErrorPtr notFound;
        renderer = catalogue.virtualScreenIdentifierWithRendererString(rendererName, &notFound);
        if (renderer == UGLNoVirtualScreenIdentifier)
            renderer = defaultRenderer;
    }
    UOpenGLGraphicProcessorInfoRecord record;
    while (renderer != UGLNoVirtualScreenIdentifier) {
        UErrorPtr error;
        if (!catalogue.getGraphicProcessorInfo(renderer, &record, &error))
            UFemRaiseProgramError(error->localizedOneLineDescription());
        if (record.isFrameBufferObjectSupported || record.isPixelBufferSupported)
            break;
        renderer = renderer == defaultRenderer ? UGLNoVirtualScreenIdentifier : defaultRenderer;
    }
    // Without a renderer the snapshot still serves the thread pools and the solver.
    virtualScreenIdentifier_ = renderer;
    updateRenderingSettings(filling, record);
}

void UFemUserPreferences::updateRenderingSettings(
    Filling& filling, const UOpenGLGraphicProcessorInfoRecord& renderer)
{
    const bool hasRenderer = virtualScreenIdentifier_ != UGLNoVirtualScreenIdentifier;
    const std::optional<quint64> storedVersion
        = unsignedValue(filling.value(UFemRenderingOpenGLVersionPreferencesKey, isNumber));
    if (storedVersion && UGLIsValidRenderingOpenGLVersion(*storedVersion))
        renderingOpenGLVersion_ = *storedVersion;
    else
        renderingOpenGLVersion_
            = UGLStandardizedRenderingOpenGLVersion(hasRenderer ? renderer.openGLVersion : 0);

    const QVariant storedUseFrameBufferObject = filling.value(
        UFemDoesUseOpenGLFrameBufferObjectPreferencesKey,
        [](const QVariant& value) { return value.typeId() == QMetaType::Bool || isNumber(value); });
    const bool useFrameBufferObject = storedUseFrameBufferObject.isValid()
        ? storedUseFrameBufferObject.toBool()
        : renderer.isFrameBufferObjectSupported;
    // A renderer without pixel buffers draws into frame buffer objects whatever the flag says.
    const bool takesFrameBufferObject = renderer.isFrameBufferObjectSupported
        && (useFrameBufferObject || !renderer.isPixelBufferSupported);
    offlineRenderingType_ = !hasRenderer || takesFrameBufferObject
        ? UGLOfflineRenderingTypeFrameBufferObject
        : UGLOfflineRenderingTypePixelBuffer;
}

void UFemUserPreferences::updateBaseViewPreferences(Filling& filling)
{
    const auto basePayload = [](const QVariantList& defaults) {
        return defaults.isEmpty()
            ? QVariantMap()
            : defaults.first().toMap().value(UFemFolderItemObjectPreferencesKey).toMap();
    };
    baseViewPreferencesForViewType_[UFemViewTypeCard]
        = basePayload(filling.defaultTableViewPreferencesFolderArray);
    baseViewPreferencesForViewType_[UFemViewTypeGraphic]
        = basePayload(filling.defaultGraphicViewPreferencesFolderArray);
}

void UFemUserPreferences::updateFolderArrays(Filling& filling)
{
    struct FolderArraySource {
        const QString& key;
        UFemFolderArray& array;
        QVariantList defaults;
        PayloadKind kind;
    };
    const FolderArraySource sources[] = {
        { UFemTableViewViewPreferencesFolderArrayPreferencesKey,
            viewPreferencesFolderArrayForViewType_[UFemViewTypeCard],
            filling.defaultTableViewPreferencesFolderArray.mid(1), PayloadKind::dictionary },
        { UFemGraphicViewViewPreferencesFolderArrayPreferencesKey,
            viewPreferencesFolderArrayForViewType_[UFemViewTypeGraphic],
            filling.defaultGraphicViewPreferencesFolderArray.mid(1), PayloadKind::dictionary },
        { UFemCardFilterStringFolderArrayPreferencesKey, cardFilterStringFolderArray_,
            UFemCardFilter::defaultCardFilterStringFolderArray(), PayloadKind::string },
        { UFemResultTableViewCardValueExprListStringFolderArrayPreferencesKey,
            resultTableViewCardValueExprListStringFolderArray_,
            UFemCardValueExprList::defaultResultTableViewCardValueExprListStringFolderArray(),
            PayloadKind::string },
        { UFemGraphicViewColorByValueCardValueExprListStringFolderArrayPreferencesKey,
            graphicViewColorByValueCardValueExprListStringFolderArray_,
            UFemCardValueExprList::
                defaultGraphicViewColorByValueCardValueExprListStringFolderArray(),
            PayloadKind::string },
        { UFemColorScaleFolderArrayPreferencesKey, colorScaleFolderArray_,
            UFemColorScale::defaultPreferenceColorScaleFolderArray(), PayloadKind::colorScale },
        { UFemNumberFormatterFolderArrayPreferencesKey, numberFormatterFolderArray_,
            UFemNumberFormatter::defaultPreferenceNumberFormatterFolderArray(),
            PayloadKind::numberFormatter },
    };
    for (const FolderArraySource& source : sources) {
        const QVariant stored = filling.value(source.key,
            [](const QVariant& value) { return value.typeId() == QMetaType::QVariantList; });
        const QVariantList items = stored.isValid() ? stored.toList() : source.defaults;
        source.array.reserve(std::max(items.size(), folderArrayCapacity));
        quint64 itemNumber = 0;
        for (const QVariant& item : items)
            filling.addFolderItem(source.array, item, ++itemNumber, source.key, source.kind);
        sortFolderArrayByHint(source.array);
    }
}

void UFemUserPreferences::updateWritingFileNumberFormatter(Filling& filling)
{
    const QVariant stored = filling.value(UFemWritingFileNumberFormatterPreferencesKey,
        [](const QVariant& value) { return value.typeId() == QMetaType::QVariantMap; });
    writingFileNumberFormatter_ = stored.isValid()
        ? UFemNumberFormatter::numberFormatterWithPreferenceNumberFormatter(stored.toMap())
        : UFemNumberFormatter::defaultWritingFileNumberFormatter();
}
