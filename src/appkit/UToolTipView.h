#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <QWidget>

// The content of the tool tip window: the text on a light yellow ground inside a gray frame.
class UToolTipView : public QWidget {
public:
    static constexpr double groundRed = 1.0;
    static constexpr double groundGreen = 1.0;
    static constexpr double groundBlue = 0.75;

    explicit UToolTipView(QWidget* parent);

    QString toolTipString() const { return toolTipString_; }
    void setToolTipString(const QString& string, const QFont& font);
    QPointF toolTipStringPosition() const { return toolTipStringPosition_; }
    void setToolTipStringPosition(QPointF position) { toolTipStringPosition_ = position; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString toolTipString_;
    QFont font_;
    QPointF toolTipStringPosition_;
};
