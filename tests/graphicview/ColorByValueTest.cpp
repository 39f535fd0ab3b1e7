#include "DrawingCacheTestSupport.h"

#include "foundation/errors/UFemErrorsCardValue.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"

#include <gtest/gtest.h>

namespace {

// Rods along x from N0 whose lengths are the given ones, coloured by their length.
QString rodsOfLengths(const std::vector<QString>& lengths)
{
    QString text = QStringLiteral("Material , Steel , 200 , 0.3 ,\nRodProp , RP , Steel , 3 ,\n"
                                  "Node , N0 ,  , 0 , 0 , 0 ,\n");
    for (std::size_t i = 0; i < lengths.size(); ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,\nRod , R%1 , RP , N0 , N%1 ,\n")
                    .arg(i + 1)
                    .arg(lengths[i]);
    return text;
}

void colorByLength(DrawingCacheFixture& view)
{
    view.settings = drawEverythingSettings();
    view.settings.isDrawWithColorByValue = true;
    view.settings.colorByValueCardValueExpression = expressionOf("Length");
    view.settings.colorByValueColorScale = UFemColorScale::defaultUnitColorScale();
}

TEST(ColorByValue, AutomaticRangeRefusesEqualAndTooCloseValues)
{
    struct Case {
        std::vector<QString> lengths;
        double minimum;
        double maximum;
        bool isSettled;
    };
    const Case cases[] = {
        { { "2", "2", "2" }, 2, 2, false },
        { { "100", "100.5" }, 100, 100.5, false },
        { { "-100", "-100.9" }, 100, 100.9, false },
        { { "100", "102" }, 100, 102, true },
        { { "1", "3", "2" }, 1, 3, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lengths.back().toStdString());
        DrawingCacheFixture view(rodsOfLengths(c.lengths));
        colorByLength(view);
        ASSERT_TRUE(view.drawFrame());
        const auto cache = view.caches->drawingPreferenceCache();
        EXPECT_EQ(cache.isColorScaleRangeSettled(), c.isSettled);
        if (c.isSettled) {
            EXPECT_TRUE(cache.drawingErrorArray.empty());
            EXPECT_EQ(cache.colorScaleForColor->colorScaleRangeMinValue(), c.minimum);
            EXPECT_EQ(cache.colorScaleForColor->colorScaleRangeMaxValue(), c.maximum);
            EXPECT_EQ(
                view.entryOf("R1").colorValueStatus, UFemDrawingCardValueDataStruct::ValueValid);
        } else {
            const auto expected
                = UFemAutoColorByValueValueRangeMinValueAndMaxValueAreEqualOrTooCloseError_withRangeMinValue(
                    c.minimum, c.maximum);
            EXPECT_EQ(view.drawingErrors(), QStringList { expected->localizedDescription() });
            EXPECT_EQ(view.entryOf("R1").colorValueStatus, UFemDrawingCardValueDataStruct::NoValue)
                << "without a range the cards keep their own colour";
        }
    }
}

TEST(ColorByValue, AFailedRangeIsReportedOnce)
{
    DrawingCacheFixture view(rodsOfLengths({ "2", "2" }));
    colorByLength(view);
    ASSERT_TRUE(view.drawFrame());
    bool isCanceled = false;
    for (int frame = 0; frame < 3; ++frame)
        EXPECT_TRUE(
            view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(&isCanceled));
    EXPECT_EQ(view.drawingErrors().size(), 1);
    EXPECT_FALSE(view.caches->startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(2));
}

TEST(ColorByValue, ANaNValueStopsTheRange)
{
    // The second rod is too long for a double: its length is infinite, and so the difference of
    // its length with itself is not a number.
    DrawingCacheFixture view(rodsOfLengths({ "1", "-1e308" })
        + "Node , N9 ,  , 1e308 , 0 , 0 ,\n"
          "Rod , R9 , RP , N2 , N9 ,\n");
    colorByLength(view);
    view.settings.colorByValueCardValueExpression = expressionOf("Length - Length");
    ASSERT_TRUE(view.drawFrame());
    EXPECT_EQ(view.drawingErrors(),
        QStringList { "( Error - Calculating auto ColorScale value range...) Value contains "
                      "'NaN'." });
    EXPECT_FALSE(view.caches->drawingPreferenceCache().isColorScaleRangeSettled());
}

// Every card draws one value per point: a value with several section points (the two faces of a
// Quad) must colour the card as invalid and say why, not leave it undrawn.
TEST(ColorByValue, ElementValuesOfMinorTypes)
{
    DrawingCacheFixture view(
        QStringLiteral("Material , Steel , 210000 , 0.3 ,\nShellProp , SP , Steel , 0.05 ,\n"
                       "SolidProp , HP , Steel ,\nCase , C1 , LINEAR_STATIC , Fix , Load ,\n"
                       "Node , Q1 ,  , 0 , 0 , 0 ,\nNode , Q2 ,  , 1 , 0 , 0 ,\n"
                       "Node , Q3 ,  , 1 , 1 , 0 ,\nNode , Q4 ,  , 0 , 1 , 0 ,\n"
                       "Quad , Q , SP , Q1 , Q2 , Q3 , Q4 ,\n"
                       "FixNode , Fix , Q1 , YES , YES , YES , YES , YES , YES ,\n"
                       "FixNode , Fix , Q4 , YES , YES , YES , YES , YES , YES ,\n"
                       "Force , Load , Q2 ,  , 0 , 0 , -1 , 0 , 0 , 0 ,\n"
                       "Force , Load , Q3 ,  , 0 , 0 , -1 , 0 , 0 , 0 ,\n"
                       "Node , H1 ,  , 5 , 0 , 0 ,\nNode , H2 ,  , 6 , 0 , 0 ,\n"
                       "Node , H3 ,  , 6 , 1 , 0 ,\nNode , H4 ,  , 5 , 1 , 0 ,\n"
                       "Node , H5 ,  , 5 , 0 , 1 ,\nNode , H6 ,  , 6 , 0 , 1 ,\n"
                       "Node , H7 ,  , 6 , 1 , 1 ,\nNode , H8 ,  , 5 , 1 , 1 ,\n"
                       "Hexa , H , HP , H1 , H2 , H3 , H4 , H5 , H6 , H7 , H8 ,\n"
                       "FixNode , Fix , H1 , YES , YES , YES , NO , NO , NO ,\n"
                       "FixNode , Fix , H4 , YES , YES , YES , NO , NO , NO ,\n"
                       "FixNode , Fix , H5 , YES , YES , YES , NO , NO , NO ,\n"
                       "FixNode , Fix , H8 , YES , YES , YES , NO , NO , NO ,\n"
                       "Force , Load , H7 ,  , 0 , 0 , -1 , 0 , 0 , 0 ,\n"));
    ASSERT_TRUE(view.model.calculate());
    using Entry = UFemDrawingCardValueDataStruct;
    struct Case {
        QString expression;
        Entry::ColorValueStatus quad;
        Entry::ColorValueStatus hexa;
        QString error;
    };
    const QString noRespond
        = UFemAutoColorByValueValueRangeNoCardRespondToCardValueTypeError_withCardValueTypeString(
            "VonMisesStress@gaussPoint", QString())
              ->localizedDescription();
    const Case cases[] = {
        { "VonMisesStress", Entry::ValueValid, Entry::ValueValid, {} },
        { "VonMisesStress@node", Entry::ValueValid, Entry::ValueValid, {} },
        { "VonMisesStress@shellFace", Entry::GettingValueFailed, Entry::GettingValueFailed,
            "( Error - Drawing Color by Value...) Card Value Expression does not return one "
            "value per point. ( Value 'VonMisesStress@shellFace' returns 2 section points. )" },
        // No card answers: the range fails, so no card takes a colour.
        { "VonMisesStress@gaussPoint", Entry::NoValue, Entry::NoValue, noRespond },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression.toStdString());
        view.caches->clearColorScaleRangeCache();
        view.caches->clearGraphicViewDrawingCache();
        colorByLength(view);
        view.settings.colorByValueCardValueExpression = expressionOf(c.expression);
        view.cases = { view.model.card("C1").shared_from_this() };
        ASSERT_TRUE(view.drawFrame());
        bool isCanceled = false;
        ASSERT_TRUE(
            view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ColorScaleRange(&isCanceled));
        EXPECT_EQ(
            view.drawingErrors(), c.error.isEmpty() ? QStringList() : QStringList { c.error });
        EXPECT_EQ(view.entryOf("Q").colorValueStatus, c.quad);
        EXPECT_EQ(view.entryOf("H").colorValueStatus, c.hexa);
        EXPECT_TRUE(view.entryOf("Q").isNodeDataValid);
    }
}

TEST(ColorByValueThreads, RangeOverManyCardsOnSeveralThreads)
{
    std::vector<QString> lengths;
    for (int i = 1; i <= 3000; ++i)
        lengths.push_back(QString::number(i));
    DrawingCacheFixture view(rodsOfLengths(lengths));
    colorByLength(view);
    view.caches->updateDrawingPreferenceCacheIfNeeded();
    view.caches->startColorScaleRangeCalcThreadIfNeededWithThreadCountToRun(4);
    double minimum = 0;
    double maximum = 0;
    std::vector<UErrorPtr> errors;
    bool isCanceled = false;
    ASSERT_TRUE(
        view.caches->getColorScaleRangeToMinCardValuePtr(&minimum, &maximum, &errors, &isCanceled));
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(minimum, 1.0);
    EXPECT_EQ(maximum, 3000.0);
    EXPECT_EQ(view.colorScaleRange.numberOfCardValidByCardFilter(), 6003u)
        << "without a filter every card counts";
    EXPECT_EQ(view.colorScaleRange.numberOfCardRespondToValueExpression(), 3000u);
    ASSERT_TRUE(view.drawFrame(4));
    EXPECT_EQ(view.entryOf("R3000").colorValues[0], 3000.0);
}

} // namespace
