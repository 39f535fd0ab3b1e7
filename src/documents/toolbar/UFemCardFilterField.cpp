#include "documents/toolbar/UFemCardFilterField.h"

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
    setText(filterString.value_or(QString()));
    setToolTip(showsError_ ? filterError->localizedOneLineDescription() : QString());
}
