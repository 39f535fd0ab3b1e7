#include "tables/forms/FixNodeFormViewController.h"

#include <QGridLayout>
#include <QPushButton>

namespace {

constexpr quint64 translationFlagColumnIndex = 3;
constexpr quint64 rotationFlagColumnIndex = 6;
constexpr quint64 flagsPerGroup = 3;
const QString fixedFlag = QStringLiteral("1");
const QString freeFlag = QStringLiteral("0");

} // namespace

FixNodeFormViewController::FixNodeFormViewController(const CardFormDescription& description)
    : FixedCardFormViewController(description)
{
    auto* buttonGrid = new QGridLayout;
    const int row = formLayout().rowCount();
    formLayout().addLayout(buttonGrid, row, 0, 1, 2);
    buttons_ = {
        addButton("fixAllTranslationButton", QStringLiteral("Fix Translation"),
            &FixNodeFormViewController::fixAllTranslation),
        addButton("freeAllTranslationButton", QStringLiteral("Free Translation"),
            &FixNodeFormViewController::freeAllTranslation),
        addButton("fixAllRotationButton", QStringLiteral("Fix Rotation"),
            &FixNodeFormViewController::fixAllRotation),
        addButton("freeAllRotationButton", QStringLiteral("Free Rotation"),
            &FixNodeFormViewController::freeAllRotation),
        addButton("fixAllDirectionButton", QStringLiteral("Fix All"),
            &FixNodeFormViewController::fixAllDirection),
        addButton("freeAllDirectionButton", QStringLiteral("Free All"),
            &FixNodeFormViewController::freeAllDirection),
    };
    for (std::size_t i = 0; i < buttons_.size(); ++i)
        buttonGrid->addWidget(buttons_[i], int(i / 2), int(i % 2));
    recordCardFormViewMinSize();
}

QPushButton* FixNodeFormViewController::addButton(
    const char* objectName, const QString& title, void (FixNodeFormViewController::*action)())
{
    auto* button = new QPushButton(title, cardFormView());
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this, action] { (this->*action)(); });
    return button;
}

void FixNodeFormViewController::writeFlags(quint64 firstColumnIndex, const QString& flag)
{
    for (quint64 index = firstColumnIndex; index < firstColumnIndex + flagsPerGroup; ++index)
        setColumnString(flag, index);
}

void FixNodeFormViewController::fixAllTranslation()
{
    writeFlags(translationFlagColumnIndex, fixedFlag);
}

void FixNodeFormViewController::freeAllTranslation()
{
    writeFlags(translationFlagColumnIndex, freeFlag);
}

void FixNodeFormViewController::fixAllRotation()
{
    writeFlags(rotationFlagColumnIndex, fixedFlag);
}

void FixNodeFormViewController::freeAllRotation()
{
    writeFlags(rotationFlagColumnIndex, freeFlag);
}

void FixNodeFormViewController::fixAllDirection()
{
    fixAllTranslation();
    fixAllRotation();
}

void FixNodeFormViewController::freeAllDirection()
{
    freeAllTranslation();
    freeAllRotation();
}

void FixNodeFormViewController::setEditable(bool editable)
{
    FixedCardFormViewController::setEditable(editable);
    for (QPushButton* button : buttons_)
        button->setEnabled(editable);
}
