#pragma once

#include <QString>

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;
class UFemCalculationManager;

// One calculation's row in the calculation manager panel: the document's name, a progress bar, a
// state or time-remaining text and the Pause and Quit buttons, which ask the manager to act.
class UFemCalculationManagerCalculationViewController {
public:
    explicit UFemCalculationManagerCalculationViewController(UFemCalculationManager* delegate);
    ~UFemCalculationManagerCalculationViewController();
    UFemCalculationManagerCalculationViewController(
        const UFemCalculationManagerCalculationViewController&)
        = delete;
    UFemCalculationManagerCalculationViewController& operator=(
        const UFemCalculationManagerCalculationViewController&)
        = delete;

    QWidget& calculationView() const { return *calculationView_; }
    QString calculationFileNameString() const;
    void setCalculationFileNameString(const QString& name);
    // -1.0 while the bar is indeterminate.
    double calculationProgressValue() const;
    // A negative value makes the bar indeterminate (a busy bar); others are shown up to 1.0.
    void setCalculationProgressValue(double value);
    QString calculationInfoString() const;
    void setCalculationInfoString(const QString& info);
    bool isCalculationPausing() const { return isCalculationPausing_; }
    QPushButton& pauseButton() const { return *pauseButton_; }
    QPushButton& quitButton() const { return *quitButton_; }

    // The button actions.
    void pauseCalculation();
    void quitCalculation();

private:
    static constexpr int ProgressSteps = 10000;

    UFemCalculationManager* delegate_;
    std::unique_ptr<QWidget> calculationView_;
    QLabel* calculationFileNameField_ = nullptr;
    QProgressBar* calculationProgressIndicator_ = nullptr;
    QLabel* calculationInfoField_ = nullptr;
    QPushButton* pauseButton_ = nullptr;
    QPushButton* quitButton_ = nullptr;
    bool isCalculationPausing_ = false;
};
