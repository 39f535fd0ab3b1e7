#include "GraphicViewTestSupport.h"

#include "QStringPrinting.h"
#include "appkit/UToolTipWindow.h"
#include "documents/window/UFemWindow.h"

#include <QCursor>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

QString exampleModelText(const QString& fileName)
{
    QFile file(QStringLiteral(VANTREL_EXAMPLES_DIR "/") + fileName);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

std::optional<QString> shownTip()
{
    return UToolTipWindow::sharedToolTipWindow().toolTipString();
}

// A tip whose select geometry is being built comes with a later turn of the event loop.
std::optional<QString> tipOnceShown()
{
    constexpr int tipWaitMilliseconds = 10000;
    const QDeadlineTimer deadline(tipWaitMilliseconds);
    while (!shownTip().has_value() && !deadline.hasExpired())
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    return shownTip();
}

// Every kind of card the view draws, apart in the default view (X right, Z up): a plate, a rod,
// a cube, with a restraint, an equation and an enforced displacement (all three restraints), a
// force, and both sets.
const QString everyKindModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "ShellProp , SP , Steel , 0.05 ,\n"
                     "SolidProp , HP , Steel ,\n"
                     "RodProp , RP , Steel , 10 ,\n"
                     "Node , P1 ,  , -4 , 0 , -0.5 ,\n"
                     "Node , P2 ,  , -3 , 0 , -0.5 ,\n"
                     "Node , P3 ,  , -3 , 0 , 0.5 ,\n"
                     "Node , P4 ,  , -4 , 0 , 0.5 ,\n"
                     "Node , RA ,  , -2 , 0 , 0 ,\n"
                     "Node , RB ,  , 0 , 0 , 0 ,\n"
                     "Node , H1 ,  , 1 , 0 , -0.5 ,\n"
                     "Node , H2 ,  , 2 , 0 , -0.5 ,\n"
                     "Node , H3 ,  , 2 , 1 , -0.5 ,\n"
                     "Node , H4 ,  , 1 , 1 , -0.5 ,\n"
                     "Node , H5 ,  , 1 , 0 , 0.5 ,\n"
                     "Node , H6 ,  , 2 , 0 , 0.5 ,\n"
                     "Node , H7 ,  , 2 , 1 , 0.5 ,\n"
                     "Node , H8 ,  , 1 , 1 , 0.5 ,\n"
                     "Quad , QP , SP , P1 , P2 , P3 , P4 ,\n"
                     "Rod , RD , RP , RA , RB ,\n"
                     "Hexa , HX , HP , H1 , H2 , H3 , H4 , H5 , H6 , H7 , H8 ,\n"
                     "FixNode , FX , P1 , YES , YES , YES , YES , YES , YES ,\n"
                     "RestraintEquation , EQ , 1 , H6@TX , -1 , H7@TX ,\n"
                     "RestraintSet , RS , FX ,\n"
                     "Force , FO , RB ,  , 0 , 0 , -10 , 0 , 0 , 0 ,\n"
                     "ForceDisp , FD , H2@TZ , 0.01 ,\n"
                     "ForceSet , FS , 1 , FO ,\n"
                     "Case , C , LINEAR_STATIC , RS , FS ,\n");

// A card and a model point on it that nothing nearer covers.
struct PickPoint {
    QString name;
    quint64 pickMask;
    std::array<double, 3> at;
};

struct SelectPassModel {
    const char* label;
    QString modelText;
    // The cards a band over the whole view adds with each letter key held.
    std::vector<std::pair<int, QStringList>> bandedCards;
    std::vector<PickPoint> pickPoints;
    // A rod that a double click opens the editor on.
    PickPoint rod;
};

// Test names show the model, not the bytes of the case.
[[maybe_unused]] void PrintTo(const SelectPassModel& model, std::ostream* stream)
{
    *stream << model.label;
}

constexpr quint64 elementsOnly = 1;
constexpr quint64 nodesOnly = 2;

std::vector<SelectPassModel> selectPassModels()
{
    const QStringList trussNodes { "N1", "N2", "N3", "N4" };
    const PickPoint trussRod { "R2", elementsOnly, { 2.5, 0.5, 1.25 } };
    const PickPoint everyKindRod { "RD", elementsOnly, { -1, 0, 0 } };
    return {
        { "RodTruss", exampleModelText(QStringLiteral("rod-truss.vtmodel")),
            { { Qt::Key_E, { "R1", "R2", "R3" } }, { Qt::Key_N, trussNodes },
                { Qt::Key_R, { "Feet", "Feet", "Feet" } }, { Qt::Key_F, { "Load" } } },
            { trussRod, { "N2", nodesOnly, { 4, 0, 0 } } }, trussRod },
        { "EveryKind", everyKindModelText,
            { { Qt::Key_E, { "HX", "QP", "RD" } },
                { Qt::Key_N,
                    { "H1", "H2", "H3", "H4", "H5", "H6", "H7", "H8", "P1", "P2", "P3", "P4", "RA",
                        "RB" } },
                { Qt::Key_R, { "EQ", "FD", "FX", "RS" } }, { Qt::Key_F, { "FO", "FS" } } },
            { everyKindRod, { "QP", elementsOnly, { -3.5, 0, 0 } },
                { "HX", elementsOnly, { 1.5, 0, 0 } }, { "RA", nodesOnly, { -2, 0, 0 } } },
            everyKindRod },
    };
}

class GraphicViewSelectPassTest : public GraphicViewFixture,
                                  public ::testing::WithParamInterface<SelectPassModel> {
protected:
    GraphicViewSelectPassTest()
        : GraphicViewFixture(GetParam().modelText)
    {
        view->setTimeIntervalToDisplayToolTip(0.0);
    }
    ~GraphicViewSelectPassTest() override { UToolTipWindow::sharedToolTipWindow().close(); }

    // The widget position (y down) where the model point lands.
    QPointF widgetPositionOf(const std::array<double, 3>& at) const
    {
        double onEye[3];
        controller->camera().getPositionOnEyeCoord(onEye, at.data());
        return { view->width() / 2.0 + onEye[0], view->height() / 2.0 - onEye[1] };
    }
    QPointF viewPointOf(const std::array<double, 3>& at) const
    {
        const QPointF position = widgetPositionOf(at);
        return { position.x(), view->height() - position.y() };
    }

    void mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons = Qt::LeftButton)
    {
        QMouseEvent event(type, at, view->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void key(QEvent::Type type, int letter)
    {
        QKeyEvent event(type, letter, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    }
    void hover(QPointF at)
    {
        QCursor::setPos(view->mapToGlobal(at.toPoint()));
        mouse(QEvent::MouseMove, at, Qt::NoButton);
    }
    // A band from corner to corner with the letter held, then the frame that applies it.
    void bandOverEverything(int letter)
    {
        key(QEvent::KeyPress, letter);
        mouse(QEvent::MouseButtonPress, { 1, 1 });
        mouse(QEvent::MouseMove, { view->width() - 2.0, view->height() - 2.0 });
        view->repaint();
        mouse(QEvent::MouseButtonRelease, { view->width() - 2.0, view->height() - 2.0 },
            Qt::NoButton);
        view->repaint();
        key(QEvent::KeyRelease, letter);
    }
};

} // namespace

// Each pass is done twice: the first tessellates the records into the select geometry, the
// second draws from it.
TEST_P(GraphicViewSelectPassTest, PicksTipsBandsAndDoubleClicksOnEveryDrawnKind)
{
    ASSERT_FALSE(GetParam().modelText.isEmpty());
    for (const PickPoint& point : GetParam().pickPoints) {
        SCOPED_TRACE(point.name.toStdString());
        const UFemCardPtr card = cardNamed(point.name);
        ASSERT_NE(card, nullptr);
        for (int pass = 0; pass < 2; ++pass)
            EXPECT_EQ(controller->cardAtViewPoint(viewPointOf(point.at), point.pickMask), card);
    }
    // Resting on the rod's middle tips it; nothing else lies there.
    const PickPoint& rod = GetParam().rod;
    const QPointF onRod = widgetPositionOf(rod.at);
    for (int pass = 0; pass < 2; ++pass) {
        hover(onRod);
        EXPECT_EQ(tipOnceShown(), cardNamed(rod.name)->toolTipString());
    }
    for (const auto& [letter, names] : GetParam().bandedCards) {
        SCOPED_TRACE(letter);
        for (int pass = 0; pass < 2; ++pass) {
            harness.window->clearSelectedCardArray();
            bandOverEverything(letter);
            EXPECT_EQ(selectedNames(), names);
        }
    }
    harness.window->clearSelectedCardArray();
    for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
             QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease })
        mouse(type, onRod, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton);
    ASSERT_TRUE(harness.window->isOptionalCardStringEditorValid());
    EXPECT_TRUE(
        harness.window->ufemWindow().optionalCardStringEditorTextFieldOutlet->text().startsWith(
            QStringLiteral("Rod , ") + rod.name + QStringLiteral(" ,")));
    EXPECT_EQ(selectedNames(), QStringList { rod.name });
}

// A hover right after an edit does not wait for the select geometry, which the hit writer's
// thread builds: no tip while it is pending, the rod's once it is built.
TEST_P(GraphicViewSelectPassTest, AHoverAfterAnEditTipsOnlyOnceTheSelectGeometryIsBuilt)
{
    const PickPoint& rod = GetParam().rod;
    const QPointF onRod = widgetPositionOf(rod.at);
    hover(onRod);
    ASSERT_EQ(tipOnceShown(), cardNamed(rod.name)->toolTipString());
    UFemDataController& model = harness.model();
    quint64 row = 0;
    while (row < model.cardCount()
        && (model.cardAtRowIndex(row)->isNullCard()
            || model.cardAtRowIndex(row)->cardNameString() != QStringLiteral("Steel")))
        ++row;
    ASSERT_LT(row, model.cardCount());
    UErrorPtr error;
    ASSERT_TRUE(model.modifyCardAtIndex(row, QStringLiteral("Material , Steel , 205000 , 0.3 ,"),
        UFemColumnSeparatingCharacterTypeComma, false, &error));
    ASSERT_FALSE(controller->isSelectModeDisplayListValid(0));
    hover(onRod);
    EXPECT_EQ(shownTip(), std::nullopt);
    EXPECT_EQ(tipOnceShown(), cardNamed(rod.name)->toolTipString());
    EXPECT_TRUE(controller->isSelectModeDisplayListValid(0));
}

INSTANTIATE_TEST_SUITE_P(Models, GraphicViewSelectPassTest, ::testing::ValuesIn(selectPassModels()),
    [](const ::testing::TestParamInfo<SelectPassModel>& info) { return info.param.label; });

namespace {

class GraphicViewKeptSelectGeometryTest : public GraphicViewFixture {
protected:
    GraphicViewKeptSelectGeometryTest()
        : GraphicViewFixture(exampleModelText(QStringLiteral("quad-plate.vtmodel")))
    {
    }
    QPointF viewPointOf(const std::array<double, 3>& at) const
    {
        double onEye[3];
        controller->camera().getPositionOnEyeCoord(onEye, at.data());
        return { view->width() / 2.0 + onEye[0], view->height() / 2.0 + onEye[1] };
    }
};

} // namespace

// The plate's faces lie in model space: their select geometry outlives a turn and a zoom of the
// camera and still picks right under the new one, while the eye-facing node markers are drawn
// again.
TEST_F(GraphicViewKeptSelectGeometryTest, FacesOutliveCameraChangesAndStillPickRight)
{
    constexpr quint64 elementsAndNodes = 3;
    const std::array<double, 3> q6Centre { 0.1875, 0.375, 0 };
    const std::array<double, 3> q27Centre { 0.8125, 0.625, 0 };
    controller->setDirection_X_Right_Y_Up();
    EXPECT_EQ(controller->cardAtViewPoint(viewPointOf(q6Centre), elementsAndNodes),
        cardNamed(QStringLiteral("Q6")));
    ASSERT_TRUE(controller->isSelectModeDisplayListValid(0));
    ASSERT_TRUE(controller->isSelectModeDisplayListValid(1));
    constexpr quint64 rotateMode = 3;
    constexpr quint64 zoomMode = 5;
    controller->updateEyeAndObjectLocationWithObjectMoveMode(rotateMode, 20, 0);
    controller->updateEyeAndObjectLocationWithObjectMoveMode(zoomMode, 0, 30);
    EXPECT_TRUE(controller->isSelectModeDisplayListValid(0));
    EXPECT_FALSE(controller->isSelectModeDisplayListValid(1));
    for (const auto& [centre, name] :
        { std::pair { q6Centre, "Q6" }, std::pair { q27Centre, "Q27" } })
        EXPECT_EQ(controller->cardAtViewPoint(viewPointOf(centre), elementsAndNodes),
            cardNamed(QString::fromLatin1(name)));
    // Any other change drops it.
    controller->setNodeSize(controller->viewSettings().nodeSize + 1);
    EXPECT_FALSE(controller->isSelectModeDisplayListValid(0));
}
