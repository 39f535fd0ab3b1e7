#pragma once

#include "documents/preferences/UFemFolderItem.h"
#include "documents/preferences/UFemPreferencesViewController.h"
#include "documents/preferences/UFemUserPreferences.h"
#include "foundation/UGLColor.h"
#include "foundation/errors/UError.h"
#include "graphics/colorscale/UFemColorScale.h"

#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>
#include <QVariantMap>

#include <memory>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QWidget;
class UFemColorWell;
class UFemGraphicViewController;

// The view in which the user edits a 3-D view's settings; the window's view settings sheet fills
// it from a settings dictionary and reads the edited dictionary back. Its fields mirror the
// controls (a state of 1 is on; number fields keep the text typed), and the controls' enabled
// states follow the rules below after every change.
class UFemGraphicViewPreferencesViewController : public QObject,
                                                 public UFemPreferencesViewController {
    Q_OBJECT
public:
    static constexpr qint64 colorScalePopupMenuItemTagOffset = 1000;

    UFemGraphicViewPreferencesViewController();
    ~UFemGraphicViewPreferencesViewController() override;

    void setDelegate(UFemGraphicViewController* delegate) { delegate_ = delegate; }
    // The document's preferences, else the application's.
    UFemUserPreferencesPtr documentUserPreferences() const;

    QWidget* preferencesViewBox() const override
    {
        return graphicViewPreferencesViewBoxOutlet_.get();
    }
    QSize preferencesViewBoxSize() const override { return graphicViewPreferencesViewBoxSize_; }

    // Never fails.
    [[nodiscard]] bool setViewPreferences(
        const QVariantMap& viewPreferences, UErrorPtr* error) override;
    // The panel's settings; an empty dictionary with the colour scale's error when the scale
    // refuses the range or step count typed.
    QVariantMap viewPreferences(UErrorPtr* error) const override;
    [[nodiscard]] std::optional<QVariantMap> colorByValuePreferenceColorScale(
        UErrorPtr* error) const;
    // The panel shows no error text of its own.
    void setErrorMessageString(const QString&) const { }

    void updateColorByValueColorScalePopupMenu();
    void colorByValueColorScalePopupSelectedMenuItemChanged(qint64 menuItemTag);
    const UFemColorScale* colorByValueBaseColorScale() const
    {
        return colorByValueBaseColorScale_.get();
    }

    // ---- Enabled states
    bool isNodeDraw() const { return nodeDrawActiveState_ == 1; }
    bool isElementDraw() const { return elementDrawActiveState_ == 1; }
    bool isElementEdgeDraw() const { return isElementDraw() && elementEdgeDrawActiveState_ == 1; }
    bool isForceDraw() const { return forceDrawActiveState_ == 1; }
    bool isForceScaleFactorAuto() const
    {
        return isForceDraw() && forceScaleFactorAutoActiveState_ == 1;
    }
    bool isForceScaleFactorManual() const
    {
        return isForceDraw() && forceScaleFactorAutoActiveState_ == 0;
    }
    bool isRestraintDraw() const { return restraintDrawActiveState_ == 1; }
    bool isGlobalCoordDraw() const { return globalCoordDrawActiveState_ == 1; }
    bool isOtherCoordDraw() const { return otherCoordDrawActiveState_ == 1; }
    bool isAnyCoordDraw() const { return isGlobalCoordDraw() || isOtherCoordDraw(); }
    bool isBackgroundDraw() const { return backgroundDrawActiveState_ == 1; }
    bool isSelectionDraw() const { return selectionDrawActiveState_ == 1; }
    bool isDisplacementDraw() const { return displacementDrawActiveState_ == 1; }
    bool isDisplacementScaleFactorAuto() const
    {
        return isDisplacementDraw() && displacementScaleFactorAutoActiveState_ == 1;
    }
    bool isDisplacementScaleFactorManual() const
    {
        return isDisplacementDraw() && displacementScaleFactorAutoActiveState_ == 0;
    }
    bool isNonDisplacementModelDraw() const
    {
        return isDisplacementDraw() && nonDisplacementModelDrawActiveState_ == 1;
    }
    bool isNonDisplacementModelEdgeDraw() const
    {
        return isDisplacementDraw() && nonDisplacementModelEdgeDrawActiveState_ == 1;
    }
    bool isNonDisplacementModelNodeDraw() const
    {
        return isDisplacementDraw() && nonDisplacementModelNodeDrawActiveState_ == 1;
    }
    bool isColorByValueDraw() const { return colorByValueDrawActiveState_ == 1; }
    bool isColorByValueValueRangeEditable() const;
    bool isColorByValueValueRangeAuto() const
    {
        return isColorByValueValueRangeEditable() && colorByValueValueRangeAutoActiveState_ == 1;
    }
    bool isColorByValueValueRangeManual() const
    {
        return isColorByValueValueRangeEditable() && colorByValueValueRangeAutoActiveState_ == 0;
    }
    bool isColorByValueStepColor() const
    {
        return isColorByValueDraw() && colorByValueStepColorActiveState_ == 1;
    }

private:
    using Self = UFemGraphicViewPreferencesViewController;
    struct StateBinding {
        const QString* key;
        qint64 Self::*state;
        const char* name;
        const char* title;
    };
    struct ColorBinding {
        const QString* key;
        _UGLColor Self::*color;
        const char* name;
        bool hasOpacity;
    };
    struct TextBinding {
        const QString* key;
        QString Self::*text;
        const char* name;
        const char* title;
        bool isNumber;
    };
    struct EnabledRule {
        const char* name;
        bool (Self::*query)() const;
    };
    static const std::vector<StateBinding>& stateBindings();
    static const std::vector<ColorBinding>& colorBindings();
    static const std::vector<TextBinding>& textBindings();
    static const std::vector<EnabledRule>& enabledRules();

    // Builds the view the layout "UFemGraphicViewPreferencesView" describes.
    void awakeFromNib();
    QWidget* makeControl(const char* name);
    void takeColorScale(const UFemColorScale& colorScale);
    void showFieldsInControls();
    void updateEnabledStates();

    std::unique_ptr<QWidget> graphicViewPreferencesViewBoxOutlet_;
    QSize graphicViewPreferencesViewBoxSize_;
    QComboBox* colorByValueColorScalePopupOutlet_ = nullptr;
    QComboBox* globalCoordDrawPositionPopupOutlet_ = nullptr;
    UFemFolderArray colorByValueColorScalePopupMenuContext_;
    QHash<QString, QWidget*> controls_;

    qint64 nodeDrawActiveState_ = 0;
    _UGLColor nodeColor_;
    QString nodeSizeNumberString_;
    qint64 elementDrawActiveState_ = 0;
    _UGLColor elementColor_;
    qint64 elementEdgeDrawActiveState_ = 0;
    QString elementEdgeWidthNumberString_;
    _UGLColor elementEdgeColor_;
    qint64 forceDrawActiveState_ = 0;
    _UGLColor forceColor_;
    qint64 forceScaleFactorAutoActiveState_ = 0;
    QString forceScaleFactorNumberString_;
    QString forceMomentScaleFactorNumberString_;
    qint64 restraintDrawActiveState_ = 0;
    _UGLColor restraintColor_;
    QString restraintSizeNumberString_;
    qint64 restraintShowInnerRestraintState_ = 0;
    qint64 globalCoordDrawActiveState_ = 0;
    _UGLColor globalCoordColor_;
    qint64 globalCoordDrawPositionNumber_ = 0;
    qint64 otherCoordDrawActiveState_ = 0;
    _UGLColor otherCoordColor_;
    qint64 backgroundDrawActiveState_ = 0;
    _UGLColor backgroundColor_;
    qint64 selectionDrawActiveState_ = 0;
    _UGLColor selectionColor_;
    qint64 displacementDrawActiveState_ = 0;
    qint64 displacementScaleFactorAutoActiveState_ = 0;
    QString displacementScaleFactorNumberString_;
    qint64 nonDisplacementModelDrawActiveState_ = 0;
    _UGLColor nonDisplacementModelColor_;
    qint64 nonDisplacementModelEdgeDrawActiveState_ = 0;
    qint64 nonDisplacementModelNodeDrawActiveState_ = 0;
    qint64 colorByValueDrawActiveState_ = 0;
    QString colorByValueCardFilterString_;
    QString colorByValueCardValueExpressionString_;
    UFemColorScalePtr colorByValueBaseColorScale_;
    qint64 colorByValueColorSwapActiveState_ = 0;
    qint64 colorByValueValueRangeAutoActiveState_ = 1;
    QString colorByValueMinValueString_;
    QString colorByValueMaxValueString_;
    qint64 colorByValueStepColorActiveState_ = 0;
    QString colorByValueNumberOfStepColorString_;
    qint64 colorByValueDrawColorScaleLabelActiveState_ = 0;
    UFemGraphicViewController* delegate_ = nullptr;
};
