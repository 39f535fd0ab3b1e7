#include "graphicview/UFemGraphicViewPreferencesViewController.h"

#include "foundation/UColorAddition.h"
#include "foundation/strings/UCLocaleFormat.h"
#include "graphicview/UFemGraphicViewController.h"
#include "graphicview/UFemGraphicViewPreferences.h"
#include "tables/UFemColorWell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QSignalBlocker>

#include <algorithm>
#include <cstdlib>
#include <locale.h>

namespace {

QVariant preferenceValue(const QVariantMap& preferences, const QString& key)
{
    return UFemGraphicViewPreferences::checkedValue(preferences, key);
}

QString numberText(double value)
{
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

// The numeric prefix of a text in the C locale, whatever the user's locale: "12abc" is 12 and a
// text that does not start with a number is 0.
double doubleValue(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return strtod_l(bytes.constData(), nullptr, UCLocale());
}

qint64 integerValue(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    return strtoll_l(bytes.constData(), nullptr, 10, UCLocale());
}

} // namespace

UFemGraphicViewPreferencesViewController::UFemGraphicViewPreferencesViewController()
{
    awakeFromNib();
}

UFemGraphicViewPreferencesViewController::~UFemGraphicViewPreferencesViewController() = default;

UFemUserPreferencesPtr UFemGraphicViewPreferencesViewController::documentUserPreferences() const
{
    UFemUserPreferencesPtr preferences
        = delegate_ != nullptr ? delegate_->documentUserPreferences() : nullptr;
    return preferences != nullptr ? preferences : UFemUserPreferences::applicationUserPreferences();
}

bool UFemGraphicViewPreferencesViewController::isColorByValueValueRangeEditable() const
{
    return colorByValueDrawActiveState_ == 1 && colorByValueBaseColorScale_ != nullptr
        && !colorByValueBaseColorScale_->isValuedColorScale();
}

bool UFemGraphicViewPreferencesViewController::setViewPreferences(
    const QVariantMap& preferences, UErrorPtr*)
{
    for (const StateBinding& binding : stateBindings()) {
        if (binding.key != nullptr)
            this->*binding.state = preferenceValue(preferences, *binding.key).toBool() ? 1 : 0;
    }
    for (const ColorBinding& binding : colorBindings())
        this->*binding.color
            = UGLColorWithPreferenceColor(preferenceValue(preferences, *binding.key));
    for (const TextBinding& binding : textBindings()) {
        if (binding.key == nullptr)
            continue;
        const QVariant value = preferenceValue(preferences, *binding.key);
        this->*binding.text = binding.isNumber ? numberText(value.toDouble()) : value.toString();
    }
    globalCoordDrawPositionNumber_
        = preferenceValue(preferences, GlobalCoordDrawPositionNumberGraphicViewPreferenceKey)
              .toLongLong();
    const UFemColorScalePtr colorScale = UFemColorScale::colorScaleWithPreferenceColorScale(
        preferenceValue(preferences, ColorByValueColorScaleGraphicViewPreferenceKey).toMap());
    takeColorScale(*colorScale);
    updateColorByValueColorScalePopupMenu();
    showFieldsInControls();
    return true;
}

void UFemGraphicViewPreferencesViewController::takeColorScale(const UFemColorScale& colorScale)
{
    colorByValueColorSwapActiveState_
        = colorScale.canSetColorSwapped() && colorScale.isColorSwapped() ? 1 : 0;
    if (colorScale.isValuedColorScale()) {
        colorByValueValueRangeAutoActiveState_ = 0;
        colorByValueMinValueString_ = numberText(colorScale.colorScaleRangeMinValue());
        colorByValueMaxValueString_ = numberText(colorScale.colorScaleRangeMaxValue());
    } else {
        colorByValueValueRangeAutoActiveState_ = 1;
        if (colorByValueMinValueString_.isEmpty() && colorByValueMaxValueString_.isEmpty()) {
            colorByValueMinValueString_ = QStringLiteral("-1.0");
            colorByValueMaxValueString_ = QStringLiteral("+1.0");
        }
    }
    colorByValueStepColorActiveState_ = colorScale.isInstantStepColor() ? 1 : 0;
    if (colorScale.isInstantStepColor())
        colorByValueNumberOfStepColorString_ = QString::number(colorScale.numberOfStepColor());
    else if (colorByValueNumberOfStepColorString_.isEmpty())
        colorByValueNumberOfStepColorString_ = QStringLiteral("10");
    colorByValueBaseColorScale_ = colorScale.baseColorScale();
}

std::optional<QVariantMap>
UFemGraphicViewPreferencesViewController::colorByValuePreferenceColorScale(UErrorPtr* error) const
{
    auto colorScale = colorByValueBaseColorScale_ != nullptr
        ? std::make_shared<UFemColorScale>(*colorByValueBaseColorScale_)
        : std::make_shared<UFemColorScale>();
    if (!colorScale->setColorSwapped(colorByValueColorSwapActiveState_ == 1, error))
        return std::nullopt;
    // A valued scale keeps its own range.
    if (colorByValueValueRangeAutoActiveState_ == 0 && colorScale->canSetColorScaleValueRange()
        && !colorScale->setColorScaleValueRangeWithRangeMinValue(
            doubleValue(colorByValueMinValueString_), doubleValue(colorByValueMaxValueString_),
            error))
        return std::nullopt;
    if (colorByValueStepColorActiveState_ == 1
        && !colorScale->setInstantStepColorWithNumberOfStepColor(
            quint64(std::max<qint64>(integerValue(colorByValueNumberOfStepColorString_), 0)),
            error))
        return std::nullopt;
    return colorScale->preferenceColorScale().value_or(QVariantMap());
}

QVariantMap UFemGraphicViewPreferencesViewController::viewPreferences(UErrorPtr* error) const
{
    const std::optional<QVariantMap> colorScale = colorByValuePreferenceColorScale(error);
    if (!colorScale)
        return {};
    QVariantMap preferences;
    for (const StateBinding& binding : stateBindings()) {
        if (binding.key != nullptr)
            preferences.insert(*binding.key, this->*binding.state == 1);
    }
    for (const ColorBinding& binding : colorBindings())
        preferences.insert(*binding.key, UPreferenceColorWithUGLColor(this->*binding.color));
    for (const TextBinding& binding : textBindings()) {
        if (binding.key == nullptr)
            continue;
        const QString& text = this->*binding.text;
        preferences.insert(*binding.key,
            binding.isNumber ? QVariant(doubleValue(text))
                             : QVariant(text.isNull() ? QStringLiteral("") : text));
    }
    preferences.insert(
        GlobalCoordDrawPositionNumberGraphicViewPreferenceKey, globalCoordDrawPositionNumber_);
    preferences.insert(ColorByValueColorScaleGraphicViewPreferenceKey, *colorScale);
    // Colours by value are drawn unlit.
    preferences.insert(IsLightingActiveGraphicViewPreferenceKey, colorByValueDrawActiveState_ == 0);
    return preferences;
}

void UFemGraphicViewPreferencesViewController::updateColorByValueColorScalePopupMenu()
{
    std::unique_ptr<QMenu> menu;
    const qint64 selectedTag = documentUserPreferences()->getColorScaleMenu(&menu,
        &colorByValueColorScalePopupMenuContext_, colorScalePopupMenuItemTagOffset, {},
        colorByValueBaseColorScale_.get());
    const QSignalBlocker blocker(colorByValueColorScalePopupOutlet_);
    colorByValueColorScalePopupOutlet_->clear();
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator())
            colorByValueColorScalePopupOutlet_->insertSeparator(
                colorByValueColorScalePopupOutlet_->count());
        else
            colorByValueColorScalePopupOutlet_->addItem(
                action->icon(), action->text(), action->data());
    }
    colorByValueColorScalePopupOutlet_->setCurrentIndex(
        colorByValueColorScalePopupOutlet_->findData(selectedTag));
}

void UFemGraphicViewPreferencesViewController::colorByValueColorScalePopupSelectedMenuItemChanged(
    qint64 menuItemTag)
{
    UFemColorScalePtr colorScale = UFemUserPreferences::colorScaleWithMenuContext(
        colorByValueColorScalePopupMenuContext_, menuItemTag, colorScalePopupMenuItemTagOffset);
    if (colorScale == nullptr)
        return;
    colorByValueBaseColorScale_ = std::move(colorScale);
    updateEnabledStates();
}
