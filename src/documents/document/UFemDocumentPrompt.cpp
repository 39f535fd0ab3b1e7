#include "documents/document/UFemDocumentPrompt.h"

#include "appkit/Alert.h"
#include "appkit/SheetPresenter.h"

namespace {
enum ReplaceAnswer { ReplaceAnswerReplace = 0 };
} // namespace

bool UFemModalAlertDocumentPrompt::shouldReplaceRestraintExpression()
{
    Alert alert;
    alert.messageText = QStringLiteral(
        "Card Class 'RestraintExpression' is used in this model. The 'RestraintExpression' has "
        "changed to 'RestraintEquation' on ver.0.8.0.3. Would you like to replace string "
        "'RestraintExpression' to 'RestraintEquation'?");
    alert.informativeText = QStringLiteral("Button 'Replace and Open' will replace "
                                           "'RestraintExpression' at the head of rows to "
                                           "'RestraintEquation'.");
    alert.buttons
        = { QStringLiteral("Replace and Open"), QStringLiteral("Open without replacing") };
    return sheets_.runModalAlert(alert) == ReplaceAnswerReplace;
}
