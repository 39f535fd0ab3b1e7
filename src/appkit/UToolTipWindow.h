#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QWidget>

#include <optional>

class UToolTipView;

// One borderless window, shared by the whole program, that shows a tool tip text beside the mouse
// pointer. Points are global screen coordinates (y down). The window sizes itself to the text and
// grows downwards when the text has several lines. Any other window that appears (a sheet, a
// panel, a menu) closes it. Main thread only.
class UToolTipWindow : public QWidget {
public:
    static constexpr double textMargin = 3.0;
    // Two points right of and 35 points below the pointer.
    static constexpr QPointF defaultOffsetVector { 2.0, 35.0 };

    // Made on the first request; lives until the application object goes.
    static UToolTipWindow& sharedToolTipWindow();
    // Closes the shared window when it shows; makes none.
    static void closeSharedToolTipWindow();

    UToolTipWindow();
    ~UToolTipWindow() override;

    // No string closes the window.
    void displayWithToolTipString(const std::optional<QString>& string, QPointF mousePoint);
    // Lays the window out for the current string and position and shows it, or closes it.
    void display();

    std::optional<QString> toolTipString() const { return toolTipString_; }
    void setToolTipString(const std::optional<QString>& string) { toolTipString_ = string; }
    QPointF toolTipWindowPosition() const { return toolTipWindowPosition_; }
    void setToolTipWindowPosition(QPointF position) { toolTipWindowPosition_ = position; }
    QPointF toolTipWindowOffsetVector() const { return toolTipWindowOffsetVector_; }
    void setToolTipWindowOffsetVector(QPointF vector) { toolTipWindowOffsetVector_ = vector; }
    QFont toolTipFont() const { return toolTipFont_; }
    UToolTipView* toolTipView() const { return toolTipView_; }

    // The size of `string` in `font`: the widest line by as many line spacings as it has lines.
    static QSizeF toolTipStringSize(const QString& string, const QFont& font);
    // The window's frame for a text of `textSize`: its top edge stays where a one-line tip's
    // would be, and the whole frame is kept inside `availableArea` without covering the pointer.
    static QRectF toolTipWindowFrame(QPointF position, QSizeF textSize, double lineHeight,
        QPointF offsetVector, const QRectF& availableArea);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRectF availableAreaAt(QPointF point) const;

    UToolTipView* toolTipView_;
    QPointF toolTipWindowPosition_;
    std::optional<QString> toolTipString_ { QString() };
    QFont toolTipFont_;
    QPointF toolTipWindowOffsetVector_ { defaultOffsetVector };
};
