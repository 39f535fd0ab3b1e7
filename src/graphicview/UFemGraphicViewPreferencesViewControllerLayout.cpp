#include "graphicview/UFemGraphicViewPreferencesViewController.h"

#include "graphicview/UFemGraphicViewPreferences.h"
#include "tables/UFemAlphaActivateColorWell.h"
#include "tables/UFemAlphaDeactivateColorWell.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace {

constexpr int numberFieldWidth = 80;
constexpr int textFieldWidth = 240;
constexpr QSize colorWellSize { 44, 24 };
constexpr int colorScaleNameLength = 24;

// The global axis triad's places (value, title).
const std::pair<qint64, const char*> globalCoordPositions[]
    = { { 1, "Model Origin" }, { 2, "Lower Left" } };

// The panel's rows, control names from left to right.
const std::vector<std::vector<const char*>>& panelRows()
{
    static const std::vector<std::vector<const char*>> rows {
        { "nodeDrawActiveState", "nodeColor", "nodeSizeNumberString" },
        { "elementDrawActiveState", "elementColor" },
        { "elementEdgeDrawActiveState", "elementEdgeColor", "elementEdgeWidthNumberString" },
        { "forceDrawActiveState", "forceColor", "forceScaleFactorAutoActiveState",
            "forceScaleFactorNumberString", "forceMomentScaleFactorNumberString" },
        { "restraintDrawActiveState", "restraintColor", "restraintSizeNumberString",
            "restraintShowInnerRestraintState" },
        { "globalCoordDrawActiveState", "globalCoordColor", "globalCoordDrawPositionNumber" },
        { "otherCoordDrawActiveState", "otherCoordColor" },
        { "backgroundDrawActiveState", "backgroundColor" },
        { "selectionDrawActiveState", "selectionColor" },
        { "displacementDrawActiveState", nullptr, "displacementScaleFactorAutoActiveState",
            "displacementScaleFactorNumberString" },
        { "nonDisplacementModelDrawActiveState", "nonDisplacementModelColor",
            "nonDisplacementModelEdgeDrawActiveState", "nonDisplacementModelNodeDrawActiveState" },
        { "colorByValueDrawActiveState", nullptr, "colorByValueCardFilterString" },
        { nullptr, nullptr, "colorByValueCardValueExpressionString" },
        { nullptr, nullptr, "colorByValueColorScalePopup", "colorByValueColorSwapActiveState",
            "colorByValueDrawColorScaleLabelActiveState" },
        { nullptr, nullptr, "colorByValueValueRangeAutoActiveState", "colorByValueMinValueString",
            "colorByValueMaxValueString" },
        { nullptr, nullptr, "colorByValueStepColorActiveState",
            "colorByValueNumberOfStepColorString" },
    };
    return rows;
}

} // namespace

const std::vector<UFemGraphicViewPreferencesViewController::StateBinding>&
UFemGraphicViewPreferencesViewController::stateBindings()
{
    static const std::vector<StateBinding> bindings {
        { &IsNodeDrawActiveGraphicViewPreferenceKey, &Self::nodeDrawActiveState_,
            "nodeDrawActiveState", "Node" },
        { &IsElementDrawActiveGraphicViewPreferenceKey, &Self::elementDrawActiveState_,
            "elementDrawActiveState", "Element" },
        { &IsElementEdgeActiveGraphicViewPreferenceKey, &Self::elementEdgeDrawActiveState_,
            "elementEdgeDrawActiveState", "Element Edge" },
        { &IsForceDrawActiveGraphicViewPreferenceKey, &Self::forceDrawActiveState_,
            "forceDrawActiveState", "Force" },
        { &IsForceScaleFactorAutoActiveGraphicViewPreferenceKey,
            &Self::forceScaleFactorAutoActiveState_, "forceScaleFactorAutoActiveState", "Auto" },
        { &IsRestraintDrawActiveGraphicViewPreferenceKey, &Self::restraintDrawActiveState_,
            "restraintDrawActiveState", "Restraint" },
        { &IsRestraintShowInnerRestraintActiveGraphicViewPreferenceKey,
            &Self::restraintShowInnerRestraintState_, "restraintShowInnerRestraintState",
            "Inner Restraint" },
        { &IsGlobalCoordDrawActiveGraphicViewPreferenceKey, &Self::globalCoordDrawActiveState_,
            "globalCoordDrawActiveState", "Global Coordinate" },
        { &IsOtherCoordDrawActiveGraphicViewPreferenceKey, &Self::otherCoordDrawActiveState_,
            "otherCoordDrawActiveState", "Other Coordinate" },
        { &IsBackgroundDrawActiveGraphicViewPreferenceKey, &Self::backgroundDrawActiveState_,
            "backgroundDrawActiveState", "Background" },
        { &IsSelectionDrawActiveGraphicViewPreferenceKey, &Self::selectionDrawActiveState_,
            "selectionDrawActiveState", "Selection" },
        { &IsDisplacementDrawActiveGraphicViewPreferenceKey, &Self::displacementDrawActiveState_,
            "displacementDrawActiveState", "Displacement" },
        { &IsDisplacementScaleFactorAutoActiveGraphicViewPreferenceKey,
            &Self::displacementScaleFactorAutoActiveState_,
            "displacementScaleFactorAutoActiveState", "Auto" },
        { &IsNonDisplacementModelDrawActiveGraphicViewPreferenceKey,
            &Self::nonDisplacementModelDrawActiveState_, "nonDisplacementModelDrawActiveState",
            "Undeformed Model" },
        { &IsNonDisplacementModelEdgeDrawActiveGraphicViewPreferenceKey,
            &Self::nonDisplacementModelEdgeDrawActiveState_,
            "nonDisplacementModelEdgeDrawActiveState", "Edge" },
        { &IsNonDisplacementModelNodeDrawActiveGraphicViewPreferenceKey,
            &Self::nonDisplacementModelNodeDrawActiveState_,
            "nonDisplacementModelNodeDrawActiveState", "Node" },
        { &IsColorByValueDrawActiveGraphicViewPreferenceKey, &Self::colorByValueDrawActiveState_,
            "colorByValueDrawActiveState", "Color by Value" },
        { nullptr, &Self::colorByValueColorSwapActiveState_, "colorByValueColorSwapActiveState",
            "Swap" },
        { nullptr, &Self::colorByValueValueRangeAutoActiveState_,
            "colorByValueValueRangeAutoActiveState", "Auto Range" },
        { nullptr, &Self::colorByValueStepColorActiveState_, "colorByValueStepColorActiveState",
            "Step Color" },
        { &ColorByValueDoesDrawColorScaleGraphicViewPreferenceKey,
            &Self::colorByValueDrawColorScaleLabelActiveState_,
            "colorByValueDrawColorScaleLabelActiveState", "Color Scale Label" },
    };
    return bindings;
}

const std::vector<UFemGraphicViewPreferencesViewController::ColorBinding>&
UFemGraphicViewPreferencesViewController::colorBindings()
{
    static const std::vector<ColorBinding> bindings {
        { &NodeColorGraphicViewPreferenceKey, &Self::nodeColor_, "nodeColor", true },
        { &ElementColorGraphicViewPreferenceKey, &Self::elementColor_, "elementColor", true },
        { &ElementEdgeColorGraphicViewPreferenceKey, &Self::elementEdgeColor_, "elementEdgeColor",
            true },
        { &ForceColorGraphicViewPreferenceKey, &Self::forceColor_, "forceColor", true },
        { &RestraintColorGraphicViewPreferenceKey, &Self::restraintColor_, "restraintColor", true },
        { &GlobalCoordColorGraphicViewPreferenceKey, &Self::globalCoordColor_, "globalCoordColor",
            true },
        { &OtherCoordColorGraphicViewPreferenceKey, &Self::otherCoordColor_, "otherCoordColor",
            true },
        // The background is drawn opaque.
        { &BackgroundColorGraphicViewPreferenceKey, &Self::backgroundColor_, "backgroundColor",
            false },
        { &SelectionColorGraphicViewPreferenceKey, &Self::selectionColor_, "selectionColor", true },
        { &NonDisplacementModelColorGraphicViewPreferenceKey, &Self::nonDisplacementModelColor_,
            "nonDisplacementModelColor", true },
    };
    return bindings;
}

const std::vector<UFemGraphicViewPreferencesViewController::TextBinding>&
UFemGraphicViewPreferencesViewController::textBindings()
{
    static const std::vector<TextBinding> bindings {
        { &NodeSizeNumberGraphicViewPreferenceKey, &Self::nodeSizeNumberString_,
            "nodeSizeNumberString", "Size", true },
        { &ElementEdgeWidthNumberGraphicViewPreferenceKey, &Self::elementEdgeWidthNumberString_,
            "elementEdgeWidthNumberString", "Width", true },
        { &ForceScaleFactorNumberGraphicViewPreferenceKey, &Self::forceScaleFactorNumberString_,
            "forceScaleFactorNumberString", "Scale", true },
        { &ForceMomentScaleFactorNumberGraphicViewPreferenceKey,
            &Self::forceMomentScaleFactorNumberString_, "forceMomentScaleFactorNumberString",
            "Moment Scale", true },
        { &RestraintSizeNumberGraphicViewPreferenceKey, &Self::restraintSizeNumberString_,
            "restraintSizeNumberString", "Size", true },
        { &DisplacementScaleFactorNumberGraphicViewPreferenceKey,
            &Self::displacementScaleFactorNumberString_, "displacementScaleFactorNumberString",
            "Scale", true },
        { &ColorByValueCardFilterStringGraphicViewPreferenceKey,
            &Self::colorByValueCardFilterString_, "colorByValueCardFilterString", "Filter", false },
        { &ColorByValueCardValueExpressionStringGraphicViewPreferenceKey,
            &Self::colorByValueCardValueExpressionString_, "colorByValueCardValueExpressionString",
            "Value", false },
        { nullptr, &Self::colorByValueMinValueString_, "colorByValueMinValueString", "Min", true },
        { nullptr, &Self::colorByValueMaxValueString_, "colorByValueMaxValueString", "Max", true },
        { nullptr, &Self::colorByValueNumberOfStepColorString_,
            "colorByValueNumberOfStepColorString", "Steps", true },
    };
    return bindings;
}

const std::vector<UFemGraphicViewPreferencesViewController::EnabledRule>&
UFemGraphicViewPreferencesViewController::enabledRules()
{
    static const std::vector<EnabledRule> rules {
        { "nodeColor", &Self::isNodeDraw },
        { "nodeSizeNumberString", &Self::isNodeDraw },
        { "elementColor", &Self::isElementDraw },
        { "elementEdgeDrawActiveState", &Self::isElementDraw },
        { "elementEdgeColor", &Self::isElementEdgeDraw },
        { "elementEdgeWidthNumberString", &Self::isElementEdgeDraw },
        { "forceColor", &Self::isForceDraw },
        { "forceScaleFactorAutoActiveState", &Self::isForceDraw },
        { "forceScaleFactorNumberString", &Self::isForceScaleFactorManual },
        { "forceMomentScaleFactorNumberString", &Self::isForceScaleFactorManual },
        { "restraintColor", &Self::isRestraintDraw },
        { "restraintSizeNumberString", &Self::isRestraintDraw },
        { "restraintShowInnerRestraintState", &Self::isRestraintDraw },
        { "globalCoordColor", &Self::isGlobalCoordDraw },
        { "globalCoordDrawPositionNumber", &Self::isGlobalCoordDraw },
        { "otherCoordColor", &Self::isOtherCoordDraw },
        { "backgroundColor", &Self::isBackgroundDraw },
        { "selectionColor", &Self::isSelectionDraw },
        { "displacementScaleFactorAutoActiveState", &Self::isDisplacementDraw },
        { "displacementScaleFactorNumberString", &Self::isDisplacementScaleFactorManual },
        { "nonDisplacementModelDrawActiveState", &Self::isDisplacementDraw },
        { "nonDisplacementModelColor", &Self::isNonDisplacementModelDraw },
        { "nonDisplacementModelEdgeDrawActiveState", &Self::isDisplacementDraw },
        { "nonDisplacementModelNodeDrawActiveState", &Self::isDisplacementDraw },
        { "colorByValueCardFilterString", &Self::isColorByValueDraw },
        { "colorByValueCardValueExpressionString", &Self::isColorByValueDraw },
        { "colorByValueColorScalePopup", &Self::isColorByValueDraw },
        { "colorByValueColorSwapActiveState", &Self::isColorByValueDraw },
        { "colorByValueDrawColorScaleLabelActiveState", &Self::isColorByValueDraw },
        { "colorByValueValueRangeAutoActiveState", &Self::isColorByValueValueRangeEditable },
        { "colorByValueMinValueString", &Self::isColorByValueValueRangeManual },
        { "colorByValueMaxValueString", &Self::isColorByValueValueRangeManual },
        { "colorByValueStepColorActiveState", &Self::isColorByValueDraw },
        { "colorByValueNumberOfStepColorString", &Self::isColorByValueStepColor },
    };
    return rules;
}

void UFemGraphicViewPreferencesViewController::awakeFromNib()
{
    graphicViewPreferencesViewBoxOutlet_ = std::make_unique<QWidget>();
    QWidget* box = graphicViewPreferencesViewBoxOutlet_.get();
    box->setObjectName(QStringLiteral("graphicViewPreferencesViewBoxOutlet"));
    auto* grid = new QGridLayout(box);
    int row = 0;
    for (const std::vector<const char*>& names : panelRows()) {
        int column = 0;
        for (const char* name : names) {
            // The free texts take the rest of their row.
            const bool isFreeText = std::any_of(
                textBindings().begin(), textBindings().end(), [name](const TextBinding& binding) {
                    return !binding.isNumber && name != nullptr && qstrcmp(binding.name, name) == 0;
                });
            const int columnSpan = isFreeText ? -1 : 1;
            if (name != nullptr)
                grid->addWidget(makeControl(name), row, column, 1, columnSpan, Qt::AlignLeft);
            ++column;
        }
        ++row;
    }
    grid->setColumnStretch(grid->columnCount(), 1);
    graphicViewPreferencesViewBoxSize_ = box->sizeHint();
    showFieldsInControls();
}

// A control made from its binding, registered under its field's name and wired so that every
// change lands in the field and re-evaluates the enabled states once.
QWidget* UFemGraphicViewPreferencesViewController::makeControl(const char* name)
{
    QWidget* control = nullptr;
    const QString objectName = QString::fromLatin1(name);
    for (const StateBinding& binding : stateBindings()) {
        if (objectName != QLatin1String(binding.name))
            continue;
        auto* box = new QCheckBox(tr(binding.title));
        connect(box, &QCheckBox::toggled, this, [this, state = binding.state](bool on) {
            this->*state = on ? 1 : 0;
            updateEnabledStates();
        });
        control = box;
    }
    for (const ColorBinding& binding : colorBindings()) {
        if (objectName != QLatin1String(binding.name))
            continue;
        UFemColorWell* well = binding.hasOpacity
            ? static_cast<UFemColorWell*>(new UFemAlphaActivateColorWell)
            : new UFemAlphaDeactivateColorWell;
        well->setFixedSize(colorWellSize);
        well->setColorChangedHandler([this, color = binding.color](const _UGLColor& chosen) {
            this->*color = chosen;
            updateEnabledStates();
        });
        control = well;
    }
    for (const TextBinding& binding : textBindings()) {
        if (objectName != QLatin1String(binding.name))
            continue;
        auto* field = new QLineEdit;
        field->setObjectName(objectName);
        field->setFixedWidth(binding.isNumber ? numberFieldWidth : textFieldWidth);
        connect(field, &QLineEdit::textChanged, this,
            [this, text = binding.text](const QString& typed) {
                this->*text = typed;
                updateEnabledStates();
            });
        // The label goes with its field, and is greyed with it.
        auto* labelled = new QWidget;
        auto* layout = new QHBoxLayout(labelled);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(tr(binding.title)));
        layout->addWidget(field);
        controls_.insert(objectName, labelled);
        return labelled;
    }
    if (objectName == QLatin1String("colorByValueColorScalePopup")) {
        colorByValueColorScalePopupOutlet_ = new QComboBox;
        colorByValueColorScalePopupOutlet_->setSizeAdjustPolicy(
            QComboBox::AdjustToMinimumContentsLengthWithIcon);
        colorByValueColorScalePopupOutlet_->setMinimumContentsLength(colorScaleNameLength);
        connect(colorByValueColorScalePopupOutlet_, &QComboBox::activated, this, [this](int index) {
            colorByValueColorScalePopupSelectedMenuItemChanged(
                colorByValueColorScalePopupOutlet_->itemData(index).toLongLong());
        });
        control = colorByValueColorScalePopupOutlet_;
    } else if (objectName == QLatin1String("globalCoordDrawPositionNumber")) {
        globalCoordDrawPositionPopupOutlet_ = new QComboBox;
        for (const auto& [position, title] : globalCoordPositions)
            globalCoordDrawPositionPopupOutlet_->addItem(tr(title), position);
        connect(
            globalCoordDrawPositionPopupOutlet_, &QComboBox::activated, this, [this](int index) {
                globalCoordDrawPositionNumber_
                    = globalCoordDrawPositionPopupOutlet_->itemData(index).toLongLong();
                updateEnabledStates();
            });
        control = globalCoordDrawPositionPopupOutlet_;
    }
    Q_ASSERT(control != nullptr);
    control->setObjectName(objectName);
    controls_.insert(objectName, control);
    return control;
}

void UFemGraphicViewPreferencesViewController::showFieldsInControls()
{
    for (const StateBinding& binding : stateBindings()) {
        auto* box = static_cast<QCheckBox*>(controls_.value(QLatin1String(binding.name)));
        const QSignalBlocker blocker(box);
        box->setChecked(this->*binding.state == 1);
    }
    for (const ColorBinding& binding : colorBindings())
        static_cast<UFemColorWell*>(controls_.value(QLatin1String(binding.name)))
            ->setColor(this->*binding.color);
    for (const TextBinding& binding : textBindings()) {
        auto* field = controls_.value(QLatin1String(binding.name))
                          ->findChild<QLineEdit*>(QLatin1String(binding.name));
        const QSignalBlocker blocker(field);
        field->setText(this->*binding.text);
    }
    const QSignalBlocker blocker(globalCoordDrawPositionPopupOutlet_);
    globalCoordDrawPositionPopupOutlet_->setCurrentIndex(
        globalCoordDrawPositionPopupOutlet_->findData(globalCoordDrawPositionNumber_));
    updateEnabledStates();
}

void UFemGraphicViewPreferencesViewController::updateEnabledStates()
{
    for (const EnabledRule& rule : enabledRules())
        controls_.value(QLatin1String(rule.name))->setEnabled((this->*rule.query)());
}
