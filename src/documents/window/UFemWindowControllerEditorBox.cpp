#include "documents/window/UFemWindow.h"
#include "documents/window/UFemWindowController.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>

void UFemWindowController::setOptionalCardStringEditorValid(bool valid)
{
    setOptionalCardStringEditorValid_negativeForDisable(
        valid ? UFemEditorBoxInputValid : UFemEditorBoxInputInvalid);
}

QLineEdit* UFemWindowController::optionalCardStringEditorCardRowIndexTextField() const
{
    return isOptionalCardStringEditorValid()
        ? ufemWindow().optionalCardStringEditorCardRowIndexTextFieldOutlet
        : nullptr;
}

QLineEdit* UFemWindowController::optionalCardStringEditorTextField() const
{
    return isOptionalCardStringEditorValid() ? ufemWindow().optionalCardStringEditorTextFieldOutlet
                                             : nullptr;
}

void UFemWindowController::closeOptionalCardStringEditorBox()
{
    QLineEdit* field = ufemWindow().optionalCardStringEditorTextFieldOutlet;
    if (field->hasFocus())
        field->clearFocus();
    setOptionalCardStringEditorValid_negativeForDisable(UFemEditorBoxInputClose);
}

// The state table of the editor box: each input moves the box between collapsed, shown empty,
// showing read-only fields and editing, growing or shrinking the window at its bottom edge.
void UFemWindowController::setOptionalCardStringEditorValid_negativeForDisable(
    UFemEditorBoxInput input)
{
    const UFemEditorBoxState state = optionalCardStringEditorState_;
    const bool keepsBox
        = ufemWindow().doesKeepOptionalCardStringEditorCheckButtonOutlet->isChecked();
    const int boxHeight = int(optionalCardStringEditorBoxHeight_);
    if (input == UFemEditorBoxInputSetUp) {
        collapseEditorBox();
        return;
    }
    if (input == UFemEditorBoxInputDisable) {
        if (state == UFemEditorBoxEditing) {
            ufemWindow().optionalCardStringEditorTextFieldOutlet->setReadOnly(true);
            optionalCardStringEditorState_ = UFemEditorBoxFieldsShown;
        }
        return;
    }
    if (input == UFemEditorBoxInputValid) {
        if (state == UFemEditorBoxCollapsed) {
            ufemWindow().optionalCardStringEditorBoxOutlet->show();
            resizeWindowBottom(boxHeight);
        }
        if (state == UFemEditorBoxCollapsed || state == UFemEditorBoxShownEmpty)
            showEditorFields();
        ufemWindow().optionalCardStringEditorTextFieldOutlet->setReadOnly(false);
        optionalCardStringEditorState_ = UFemEditorBoxEditing;
        return;
    }
    if (state == UFemEditorBoxCollapsed)
        return;
    const bool keepsOpen = input == UFemEditorBoxInputInvalid && keepsBox;
    if (!keepsOpen) {
        QLineEdit* field = ufemWindow().optionalCardStringEditorTextFieldOutlet;
        field->deselect();
        field->clearFocus();
        collapseEditorBox();
        resizeWindowBottom(-boxHeight);
        return;
    }
    if (state != UFemEditorBoxShownEmpty) {
        hideEditorFields();
        optionalCardStringEditorState_ = UFemEditorBoxShownEmpty;
    }
}

void UFemWindowController::collapseEditorBox()
{
    hideEditorFields();
    ufemWindow().optionalCardStringEditorBoxOutlet->hide();
    optionalCardStringEditorState_ = UFemEditorBoxCollapsed;
}

void UFemWindowController::showEditorFields()
{
    UFemWindow& window = ufemWindow();
    window.optionalCardStringEditorCardRowIndexTextFieldOutlet->clear();
    window.optionalCardStringEditorTextFieldOutlet->clear();
    window.optionalCardStringEditorCardRowIndexTextFieldOutlet->show();
    window.optionalCardStringEditorTextFieldOutlet->show();
}

void UFemWindowController::hideEditorFields()
{
    UFemWindow& window = ufemWindow();
    window.optionalCardStringEditorTextFieldOutlet->clearFocus();
    window.optionalCardStringEditorCardRowIndexTextFieldOutlet->hide();
    window.optionalCardStringEditorTextFieldOutlet->hide();
    window.optionalCardStringEditorCardRowIndexTextFieldOutlet->clear();
    window.optionalCardStringEditorTextFieldOutlet->clear();
}

// The main view keeps its size while the box comes or goes: the window's bottom edge moves.
void UFemWindowController::resizeWindowBottom(int heightChange)
{
    QWidget& window = *this->window();
    window.resize(window.width(), window.height() + heightChange);
}
