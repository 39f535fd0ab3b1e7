#include "GraphicViewTestSupport.h"

namespace {

// One cube and four Hexas on its nodes: HA, HB numbered alike, HC from another corner, HD with
// its top face first (wound inwards).
const QString duplicateHexaModelText
    = QStringLiteral("Material , Steel , 210000 , 0.3 ,\n"
                     "SolidProp , HP , Steel ,\n"
                     "Node , H1 ,  , 0 , 0 , 0 ,\n"
                     "Node , H2 ,  , 1 , 0 , 0 ,\n"
                     "Node , H3 ,  , 1 , 1 , 0 ,\n"
                     "Node , H4 ,  , 0 , 1 , 0 ,\n"
                     "Node , H5 ,  , 0 , 0 , 1 ,\n"
                     "Node , H6 ,  , 1 , 0 , 1 ,\n"
                     "Node , H7 ,  , 1 , 1 , 1 ,\n"
                     "Node , H8 ,  , 0 , 1 , 1 ,\n"
                     "Hexa , HA , HP , H1 , H2 , H3 , H4 , H5 , H6 , H7 , H8 ,\n"
                     "Hexa , HB , HP , H1 , H2 , H3 , H4 , H5 , H6 , H7 , H8 ,\n"
                     "Hexa , HC , HP , H2 , H3 , H4 , H1 , H6 , H7 , H8 , H5 ,\n"
                     "Hexa , HD , HP , H5 , H6 , H7 , H8 , H1 , H2 , H3 , H4 ,\n");

class DuplicateSolidSelection : public GraphicViewFixture {
protected:
    DuplicateSolidSelection()
        : GraphicViewFixture(duplicateHexaModelText)
    {
        // Three faces of the cube in sight.
        constexpr quint64 rotateMode = 3;
        controller->updateEyeAndObjectLocationWithObjectMoveMode(rotateMode, 40, 30);
    }

    QImage pictureWithSelected(const QStringList& names)
    {
        harness.window->clearSelectedCardArray();
        for (const QString& name : names)
            harness.window->addCardToSelectedCardArray(cardNamed(name));
        harness.finishEventTurn();
        return controller->renderToImage(UGLDrawingOutputTypeScreen);
    }
};

// The pixels where `picture` differs from `base`, true where it does.
std::vector<bool> changedPixels(const QImage& base, const QImage& picture)
{
    std::vector<bool> changed;
    for (int y = 0; y < base.height(); ++y)
        for (int x = 0; x < base.width(); ++x)
            changed.push_back(base.pixel(x, y) != picture.pixel(x, y));
    return changed;
}

} // namespace

// A duplicate selected with the solid it duplicates, however numbered, hides none of the
// faces and edges the two share: the selection covers what it covers for one of them.
TEST_F(DuplicateSolidSelection, TwoHexasOnTheSameNodesAreDrawnSelected)
{
    const QImage unselected = pictureWithSelected({});
    const std::vector<bool> one
        = changedPixels(unselected, pictureWithSelected({ QStringLiteral("HA") }));
    ASSERT_GT(std::count(one.begin(), one.end(), true), 0);
    for (const char* duplicate : { "HB", "HC", "HD" }) {
        SCOPED_TRACE(duplicate);
        const std::vector<bool> both = changedPixels(unselected,
            pictureWithSelected({ QStringLiteral("HA"), QString::fromLatin1(duplicate) }));
        EXPECT_EQ(
            std::count(both.begin(), both.end(), true), std::count(one.begin(), one.end(), true));
        EXPECT_TRUE(both == one);
    }
}
