#include "documents/window/UFemWindow.h"

#include "appkit/WholeTextField.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

namespace {

constexpr int rowIndexFieldWidth = 64;
constexpr int statusMargin = 4;

QFrame* makeBox(QWidget* parent, const QString& name)
{
    auto* box = new QFrame(parent);
    box->setObjectName(name);
    box->setFrameShape(QFrame::NoFrame);
    return box;
}

} // namespace

UFemWindow::UFemWindow()
{
    setObjectName(QStringLiteral("UFemWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    dummyMainViewOutlet = makeBox(this, QStringLiteral("dummyMainViewOutlet"));
    dummyMainViewOutlet->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    mainViewLayout_ = new QVBoxLayout(dummyMainViewOutlet);
    mainViewLayout_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(dummyMainViewOutlet, 1);

    buildEditorBox();
    layout->addWidget(optionalCardStringEditorBoxOutlet);
    buildStatusBar(layout);
    resize(defaultWidth, defaultHeight);
}

void UFemWindow::buildEditorBox()
{
    optionalCardStringEditorBoxOutlet
        = makeBox(this, QStringLiteral("optionalCardStringEditorBoxOutlet"));
    optionalCardStringEditorBoxOutlet->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(optionalCardStringEditorBoxOutlet);
    optionalCardStringEditorCardRowIndexTextFieldOutlet = new QLineEdit;
    optionalCardStringEditorCardRowIndexTextFieldOutlet->setObjectName(
        QStringLiteral("optionalCardStringEditorCardRowIndexTextFieldOutlet"));
    optionalCardStringEditorCardRowIndexTextFieldOutlet->setReadOnly(true);
    optionalCardStringEditorCardRowIndexTextFieldOutlet->setFixedWidth(rowIndexFieldWidth);
    optionalCardStringEditorTextFieldOutlet = new WholeTextField;
    optionalCardStringEditorTextFieldOutlet->setObjectName(
        QStringLiteral("optionalCardStringEditorTextFieldOutlet"));
    doesKeepOptionalCardStringEditorCheckButtonOutlet = new QCheckBox(tr("Keep"));
    doesKeepOptionalCardStringEditorCheckButtonOutlet->setObjectName(
        QStringLiteral("doesKeepOptionalCardStringEditorCheckButtonOutlet"));
    closeOptionalCardStringEditorButtonOutlet = new QPushButton(tr("Close"));
    closeOptionalCardStringEditorButtonOutlet->setObjectName(
        QStringLiteral("closeOptionalCardStringEditorButtonOutlet"));
    row->addWidget(optionalCardStringEditorCardRowIndexTextFieldOutlet);
    row->addWidget(optionalCardStringEditorTextFieldOutlet, 1);
    row->addWidget(doesKeepOptionalCardStringEditorCheckButtonOutlet);
    row->addWidget(closeOptionalCardStringEditorButtonOutlet);
}

void UFemWindow::buildStatusBar(QVBoxLayout* layout)
{
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(statusMargin, statusMargin, statusMargin, statusMargin);
    statusTextFieldOutlet = new QLabel;
    statusTextFieldOutlet->setObjectName(QStringLiteral("statusTextFieldOutlet"));
    statusTextFieldOutlet->setTextFormat(Qt::RichText);
    statusIconTextFieldOutlet = new QLabel;
    statusIconTextFieldOutlet->setObjectName(QStringLiteral("statusIconTextFieldOutlet"));
    bar->addWidget(statusTextFieldOutlet, 1);
    bar->addWidget(statusIconTextFieldOutlet);
    layout->addLayout(bar);
}

void UFemWindow::setMainViewContent(QWidget* content)
{
    // The layout gives the taken item up; the widget in it belongs to its view controller.
    while (std::unique_ptr<QLayoutItem> item { mainViewLayout_->takeAt(0) }) {
        if (QWidget* old = item->widget()) {
            old->hide();
            old->setParent(nullptr);
        }
    }
    if (content != nullptr) {
        mainViewLayout_->addWidget(content);
        content->show();
    }
}
