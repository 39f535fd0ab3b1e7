#include "documents/calculation/UFemCalculationManagerCalculationViewController.h"

#include "documents/calculation/UFemCalculationManager.h"

#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>

#include <algorithm>
#include <cmath>

UFemCalculationManagerCalculationViewController::UFemCalculationManagerCalculationViewController(
    UFemCalculationManager* delegate)
    : delegate_(delegate)
    , calculationView_(std::make_unique<QWidget>())
{
    calculationFileNameField_ = new QLabel;
    QFont bold = calculationFileNameField_->font();
    bold.setBold(true);
    calculationFileNameField_->setFont(bold);
    calculationProgressIndicator_ = new QProgressBar;
    calculationProgressIndicator_->setTextVisible(false);
    calculationProgressIndicator_->setRange(0, 0);
    calculationInfoField_ = new QLabel;
    pauseButton_ = new QPushButton(QStringLiteral("Pause"));
    quitButton_ = new QPushButton(QStringLiteral("Quit"));
    auto* layout = new QGridLayout(calculationView_.get());
    layout->addWidget(calculationFileNameField_, 0, 0, 1, 3);
    layout->addWidget(calculationProgressIndicator_, 1, 0);
    layout->addWidget(pauseButton_, 1, 1);
    layout->addWidget(quitButton_, 1, 2);
    layout->addWidget(calculationInfoField_, 2, 0, 1, 3);
    layout->setColumnStretch(0, 1);
    QObject::connect(pauseButton_, &QPushButton::clicked, [this] { pauseCalculation(); });
    QObject::connect(quitButton_, &QPushButton::clicked, [this] { quitCalculation(); });
}

UFemCalculationManagerCalculationViewController::~UFemCalculationManagerCalculationViewController()
{
    // A row may go while its own button's click is still being handled (a calculation that ends
    // during the quit question): the view goes later, and its buttons call no one any more.
    pauseButton_->disconnect();
    quitButton_->disconnect();
    calculationView_->setParent(nullptr);
    calculationView_.release()->deleteLater();
}

QString UFemCalculationManagerCalculationViewController::calculationFileNameString() const
{
    return calculationFileNameField_->text();
}

void UFemCalculationManagerCalculationViewController::setCalculationFileNameString(
    const QString& name)
{
    calculationFileNameField_->setText(name);
}

double UFemCalculationManagerCalculationViewController::calculationProgressValue() const
{
    if (calculationProgressIndicator_->maximum() == 0)
        return -1.0;
    return double(calculationProgressIndicator_->value()) / ProgressSteps;
}

void UFemCalculationManagerCalculationViewController::setCalculationProgressValue(double value)
{
    if (value < 0.0 || std::isnan(value)) {
        calculationProgressIndicator_->setRange(0, 0);
        return;
    }
    calculationProgressIndicator_->setRange(0, ProgressSteps);
    calculationProgressIndicator_->setValue(int(std::lround(std::min(value, 1.0) * ProgressSteps)));
}

QString UFemCalculationManagerCalculationViewController::calculationInfoString() const
{
    return calculationInfoField_->text();
}

void UFemCalculationManagerCalculationViewController::setCalculationInfoString(const QString& info)
{
    calculationInfoField_->setText(info);
}

void UFemCalculationManagerCalculationViewController::pauseCalculation()
{
    const bool flag = !isCalculationPausing_;
    if (delegate_ && !delegate_->pauseCalculationWithCalculationViewController(*this, flag))
        return;
    isCalculationPausing_ = flag;
    pauseButton_->setText(flag ? QStringLiteral("Restart") : QStringLiteral("Pause"));
}

void UFemCalculationManagerCalculationViewController::quitCalculation()
{
    if (delegate_)
        delegate_->quitCalculationWithCalculationViewController(*this);
}
