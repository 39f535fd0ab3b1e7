#include "documents/document/UFemProjectModelFileText.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

const QString CommentMarker = QStringLiteral("\\ ");

// Every line of the text as a comment line; one trailing line break does not make a line.
QString commentLines(QString text)
{
    if (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line.prepend(CommentMarker);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

QString UFemProjectModelFileText(const QString& modelFileName, const QString& projectFileName,
    const QString& projectTitle, const QString& projectComment)
{
    const QString hint = QCoreApplication::translate("UFemProjectInfoViewController",
        "Add model cards, such as nodes, elements, cases, etc. with 'ModelEditWindow' or just "
        "type.");
    QString text;
    // A line break inside a name or the title must not leave a line that reads as a card.
    text += commentLines(QStringLiteral("Model File Name: %1").arg(modelFileName))
        + QStringLiteral("\n\n");
    text += commentLines(QStringLiteral("Project File Name: %1").arg(projectFileName))
        + QStringLiteral("\n\n");
    text += commentLines(projectTitle) + QStringLiteral("\n\n");
    text += commentLines(projectComment) + QStringLiteral("\n\n\n");
    text += commentLines(hint) + QStringLiteral("\n\n\n");
    return text;
}
