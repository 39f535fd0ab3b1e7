#include "ModelEditWindowTestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTableView>

namespace {

// Where the pictures go when the environment asks for them (looked at by hand under Xvfb).
const char* const grabDirectoryVariable = "VANTREL_GRAB_DIR";

using Edit = ModelEditWindowController;

const QString pictureModelText = WindowModelText
    + QStringLiteral(
        "SolidProp , SP , Steel ,\n"
        "Hexa , H1 , SP , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 , \\ a brick\n"
        "RestraintEquation , E1 , 1.5 , N1@TX , 2 , N2@TY , -1 , N2@TZ , 0.5 , N1@RX ,\n"
        "Force , L1 , N1 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n");

QImage grabbed(QWidget& widget, const QString& name)
{
    widget.show();
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    const QByteArray directory = qgetenv(grabDirectoryVariable);
    if (!directory.isEmpty())
        image.save(QDir(QString::fromLocal8Bit(directory)).filePath(name));
    return image;
}

// Pixels darker than the background: text and frames were drawn.
int inkOf(const QImage& image)
{
    int ink = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return ink;
}

} // namespace

TEST(ModelEditWindowPicture, hexaFormRestraintEquationPairsAndTheChooseSheet)
{
    ModelEditWindowHarness h(pictureModelText);
    QWidget& window = *h.edit->window();
    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_MODIFY, QStringLiteral("H1"));
    EXPECT_EQ(h.child("node8NameFieldOutlet")->text(), QStringLiteral("N8"));
    const QImage hexa = grabbed(window, QStringLiteral("model-edit-hexa.png"));
    EXPECT_GT(inkOf(hexa), 500);
    EXPECT_TRUE(h.child("node8NameFieldOutlet")->isVisible());

    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_SHOW, QStringLiteral("E1"));
    const QImage restraintEquation
        = grabbed(window, QStringLiteral("model-edit-restraint-equation.png"));
    EXPECT_GT(inkOf(restraintEquation), 500);
    QStringList shownLabels;
    for (QLabel* label : h.child<QWidget>("argumentColumnFormOutlet")->findChildren<QLabel*>())
        if (label->isVisible())
            shownLabels << label->text();
    EXPECT_EQ(shownLabels.size(), 6) << shownLabels.join(u' ').toStdString();
    EXPECT_TRUE(shownLabels.contains(QStringLiteral("DOF 3:")));

    h.load(Edit::MODEL_EDIT_WINDOW_ACTION_MENU_DELETE, QStringLiteral("L1"));
    QDialog* sheet = h.edit->chooseCardPanel();
    ASSERT_NE(sheet, nullptr);
    sheet->findChild<QTableView*>("chooseCardTableViewOutlet")->selectRow(0);
    const QImage choose = grabbed(*sheet, QStringLiteral("model-edit-choose-sheet.png"));
    EXPECT_GT(inkOf(choose), 200);
    sheet->findChild<QPushButton*>("chooseCardCancelButton")->click();
}
