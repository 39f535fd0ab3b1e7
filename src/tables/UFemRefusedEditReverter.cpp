#include "tables/UFemRefusedEditReverter.h"

#include <QLineEdit>

#include <utility>

UFemRefusedEditReverter::UFemRefusedEditReverter(QLineEdit* field, ChangeApproval approval)
    : field_(field)
    , approval_(std::move(approval))
    , approvedText_(field->text())
{
    connect(field, &QLineEdit::textEdited, this, &UFemRefusedEditReverter::textEdited);
}

// Setting the text back is no edit, so it comes back here no more.
void UFemRefusedEditReverter::textEdited(const QString& text)
{
    if (!approval_ || approval_()) {
        approvedText_ = text;
        return;
    }
    if (field_)
        field_->setText(approvedText_);
}
