#include "documents/toolbar/UFemCardFilterField.h"

#include <QKeyEvent>
#include <QPalette>

namespace {

const QColor ErrorTextColor(Qt::red);
const QColor NormalTextColor(Qt::black);

} // namespace

UFemCardFilterField::UFemCardFilterField(QWidget* parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("toolbarCardFilterTextFieldOutlet"));
    connect(this, &QLineEdit::editingFinished, this, [this] {
        setModified(false);
        emit filterEntered(text());
    });
}

void UFemCardFilterField::showFilter(
    const std::optional<QString>& filterString, const UErrorPtr& filterError)
{
    if (isBeingEdited())
        return;
    showsError_ = filterString.has_value() && filterError != nullptr;
    QPalette colours = palette();
    colours.setColor(QPalette::Text, showsError_ ? ErrorTextColor : NormalTextColor);
    setPalette(colours);
    shownText_ = filterString.value_or(QString());
    setText(shownText_);
    setToolTip(showsError_ ? filterError->localizedOneLineDescription() : QString());
}

void UFemCardFilterField::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        setText(shownText_);
        setModified(false);
        return;
    }
    QLineEdit::keyPressEvent(event);
}
