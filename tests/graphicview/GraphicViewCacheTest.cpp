#include "DrawingCacheTestSupport.h"

#include "cardmodel/filter/UFemCardFilter.h"
#include "foundation/errors/UException.h"
#include "foundation/errors/UFemErrorsGraphicDrawing.h"
#include "graphicview/caches/UFemDrawingCardTypeInfoRecord.h"
#include "graphicview/caches/UFemDrawingLayerImageInfoRecord.h"
#include "graphicview/caches/UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData.h"
#include "graphicview/ranges/UFemDataControllerValueRange.h"

#include <gtest/gtest.h>

#include <cmath>
#include <condition_variable>

namespace {

const QString nodesText = QStringLiteral("Node , N1 ,  , 0 , 0 , 0 ,\n"
                                         "Node , N2 ,  , 2 , 0 , 0 ,\n");

// An axial rod: E = 200, A = 3, L = 2 along x, N1 held, N2 pulled by P = 6 in C1 and 12 in C2;
// by hand δ = PL/EA = 0.02 and 0.04.
const QString rodText = QStringLiteral("Material , Steel , 200 , 0.3 ,\n"
                                       "RodProp , RP , Steel , 3 ,\n")
    + nodesText
    + QStringLiteral("Rod , R1 , RP , N1 , N2 ,\n"
                     "FixNode , RS1 , N1 , YES , YES , YES , YES , YES , YES ,\n"
                     "FixNode , RS1 , N2 , NO , YES , YES , YES , YES , YES ,\n"
                     "Force , FS1 , N2 ,  , 6 , 0 , 0 , 0 , 0 , 0 ,\n"
                     "Force , FS2 , N2 ,  , 12 , 0 , 0 , 0 , 0 , 0 ,\n"
                     "Case , C1 , LINEAR_STATIC , RS1 , FS1 ,\n"
                     "Case , C2 , LINEAR_STATIC , RS1 , FS2 ,\n");
constexpr double rodLength = 2.0;
constexpr double rodLargestDelta = 12.0 * 2.0 / (200.0 * 3.0);

UFemGraphicViewDrawingPreferenceCache::Inputs inputsOf(
    UFemCardVector cases, UFemCardPtr caseCard, bool hasResultData)
{
    UFemGraphicViewDrawingPreferenceCache::Inputs inputs;
    inputs.currentCaseCardArray = std::move(cases);
    inputs.currentCaseCard = std::move(caseCard);
    inputs.hasResultData = hasResultData;
    return inputs;
}

QStringList descriptionsOf(const std::vector<UErrorPtr>& errors)
{
    QStringList texts;
    for (const UErrorPtr& error : errors)
        texts << error->localizedDescription();
    return texts;
}

TEST(GraphicViewCache, PreferenceCacheErrorTexts)
{
    ValueRangeTestModel model(rodText);
    const UFemCardPtr c1 = model.card("C1").shared_from_this();
    const UFemCardPtr c2 = model.card("C2").shared_from_this();
    const UFemCardPtr n1 = model.card("N1").shared_from_this();
    using Inputs = UFemGraphicViewDrawingPreferenceCache::Inputs;
    struct Case {
        const char* expression; // null: no expression
        bool hasScale;
        Inputs inputs;
        QString error;
    };
    const QString color = QStringLiteral("( Error - Drawing Color by Value...) ");
    const Case cases[] = {
        { nullptr, true, inputsOf({ c1 }, c1, true), color + "No Card Value Expression." },
        { "Length", false, inputsOf({ c1 }, c1, true),
            color + "No color scale selected. ( Unexpected Error )" },
        { "Location", true, inputsOf({ c1 }, c1, true),
            color
                + "Card Value Expression does not return scalar value. ( Value 'Location' "
                  "returns 3 values vector. )" },
        { "VonMisesStress", true, inputsOf({ c1 }, c1, false),
            color + "No FEM result data. ( Value 'VonMisesStress' requires result data. )" },
        { "VonMisesStress", true, inputsOf({}, nullptr, true),
            color + "No case selected. ( Value 'VonMisesStress' requires specifying cases. )" },
        { "VonMisesStress", true, inputsOf({ c1, c2 }, nullptr, true),
            color
                + "Several cases selected. Select one case. ( Value 'VonMisesStress' doesn't "
                  "merge cases. )" },
        { "Length", true, inputsOf({ c1, n1 }, nullptr, true), QString() },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error.toStdString());
        UFemGraphicViewSettings settings;
        settings.isDrawWithColorByValue = true;
        if (c.expression != nullptr)
            settings.colorByValueCardValueExpression = expressionOf(c.expression);
        if (c.hasScale)
            settings.colorByValueColorScale = UFemColorScale::defaultUnitColorScale();
        const auto cache
            = UFemGraphicViewDrawingPreferenceCache::cacheWithSettings(settings, c.inputs);
        EXPECT_EQ(descriptionsOf(cache.drawingErrorArray).join('|'), c.error);
        EXPECT_EQ(cache.doesDrawWithColor, c.error.isEmpty());
    }

    const QString disp = QStringLiteral("( Error - Drawing Displacement...) ");
    const std::pair<Inputs, QString> displacementCases[] = {
        { inputsOf({ c1 }, c1, false), disp + "No FEM result data." },
        { inputsOf({ c1, c1 }, nullptr, true), disp + "Several cases selected. Select one case." },
        { inputsOf({}, nullptr, true), disp + "No case selected. Select a case." },
    };
    for (const auto& [inputs, error] : displacementCases) {
        UFemGraphicViewSettings settings;
        settings.isDrawWithDisplacement = true;
        settings.isDisplacementScaleFactorAuto = true;
        const auto cache
            = UFemGraphicViewDrawingPreferenceCache::cacheWithSettings(settings, inputs);
        EXPECT_EQ(descriptionsOf(cache.drawingErrorArray).join('|'), error);
        EXPECT_FALSE(cache.doesDrawWithDisp);
        EXPECT_EQ(cache.dispScaleFactorValueStatus, UFemValueStatusNotUsed);
    }
}

TEST(GraphicViewCache, NineRecordsAndTheirLayers)
{
    DrawingCacheFixture view(rodText);
    view.settings = drawEverythingSettings();
    UFemGraphicViewDrawingPreferenceCache cache
        = UFemGraphicViewDrawingPreferenceCache::cacheWithSettings(view.settings, {});
    cache.doesDrawWithNonDisplacementModel = cache.doesDrawWithNonDisplacementModelNode = true;
    UFemGraphicViewDrawingCardIndexList selected;
    UFemGraphicViewDrawingCardIndexList band;
    const auto records = UFemMakeDrawingCardTypeInfoRecordTable(
        cache, view.windowCardTypeCardArrays(), &selected, &band);
    const UFemGraphicViewSettings& s = view.settings;
    struct Row {
        quint64 layer;
        quint64 location;
        quint64 length;
        _UGLColor object;
        _UGLColor edge;
    };
    // Cards: 1 Rod, 2 Nodes, 2 FixNodes, 2 Forces; no coordinate system, so record 4 is off.
    const quint64 selectable = 1 + 2 + 2 + 2;
    const Row rows[9] = {
        { 0, 0, 1, s.elementColor, s.elementEdgeColor },
        { 0, 1, 2, s.nodeColor, { 0.1, 0.2, 0.3, 0.8 } },
        { 1, 3, 2, { 1, 0.5, 0, 1 }, { 0.5, 0.25, 0, 1 } },
        { 2, 5, 2, { 0.8, 0.6, 0.2, 1 }, { 0.4, 0.3, 0.1, 1 } },
        { 0, 0, 0, {}, {} },
        { 4, selectable, 1, { 0.6, 0.6, 0.6, 1 }, s.elementEdgeColor },
        { 4, selectable + 1, 2, s.nodeColor, { 0.1, 0.2, 0.3, 0.8 } },
        { 5, 0, selectable, { 1, 1, 0, 1 }, s.elementEdgeColor },
        { 5, 0, selectable, { 1, 1, 0, 1 }, s.elementEdgeColor },
    };
    for (quint64 i = 0; i < 9; ++i) {
        SCOPED_TRACE(i);
        const UFemDrawingCardTypeInfoRecord& record = records[i];
        EXPECT_EQ(record.doesCardTypeDraw, i != UFemDrawingCardTypeInfoRecord::OtherCoord);
        EXPECT_EQ(record.layerIndex, rows[i].layer);
        EXPECT_EQ(record.cardRangeLocation, rows[i].location);
        EXPECT_EQ(record.cardRangeLength, rows[i].length);
        EXPECT_EQ(record.objectColor, rows[i].object);
        EXPECT_EQ(record.edgeColor, rows[i].edge);
        EXPECT_EQ(record.cardNameStartNoForSelectMode, i < 5 ? rows[i].location : 0);
    }
    EXPECT_EQ(records[7].cardIndexListPtr, &selected);
    EXPECT_EQ(records[8].cardIndexListPtr, &band);

    const auto layers = UFemMakeDrawingLayerImageInfoRecordTable(cache);
    EXPECT_EQ(layers[1].layerImageCompositeFraction, 0.5);
    EXPECT_TRUE(layers[1].doesEnableDepthTest);
    EXPECT_EQ(layers[2].layerImageCompositeFraction, 0.25);
    EXPECT_TRUE(layers[4].doesClearDepthBuffer);
    EXPECT_EQ(layers[5].layerImageCompositeFraction, 0.5);
    EXPECT_EQ(layers[6].layerImageCompositeOperation, 0u);
}

TEST(GraphicViewCache, AutomaticFactorsFromTheRanges)
{
    DrawingCacheFixture view(rodText);
    ASSERT_TRUE(view.model.calculate());
    view.settings = drawEverythingSettings();
    view.settings.isForceScaleFactorAuto = true;
    view.settings.isDrawWithDisplacement = true;
    view.settings.isDisplacementScaleFactorAuto = true;
    view.cases = { view.model.card("C1").shared_from_this() };
    view.length = rodLength;
    ASSERT_TRUE(view.drawFrame());
    bool isCanceled = false;
    ASSERT_TRUE(
        view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ForceScaleFactor(&isCanceled));
    const auto cache = view.caches->drawingPreferenceCache();
    EXPECT_DOUBLE_EQ(cache.forceScaleFactor, 100.0 / 12.0);
    EXPECT_EQ(cache.momentScaleFactor, 0.0) << "no moment gives factor 0";
    EXPECT_EQ(cache.forceScaleFactorValueStatus, UFemValueStatusGiven);
    EXPECT_NEAR(cache.dispScaleFactor, rodLength / rodLargestDelta * 0.12, 1e-9);
    EXPECT_TRUE(cache.drawingErrorArray.empty());

    // The deformed position of N2 in C1: location + factor × u, u = 0.02 along x.
    const UFemDrawingCardValueDataStruct& n2 = view.entryOf("N2");
    ASSERT_TRUE(n2.isNodeDataValid);
    EXPECT_NEAR(n2.nodeTable[0], 2.0 + cache.dispScaleFactor * 0.02, 1e-9);
    EXPECT_NEAR(n2.nodeTable[1], 0.0, 1e-12);
    const UFemDrawingCardValueDataStruct& rod = view.entryOf("R1");
    ASSERT_TRUE(rod.isNodeDataValid);
    EXPECT_EQ(rod.nodeTable[0], 0.0);
    EXPECT_NEAR(rod.nodeTable[6], 2.0 + cache.dispScaleFactor * 0.02, 1e-9);
    EXPECT_EQ(view.finishCount, 1);

    // A valid frame starts nothing again.
    EXPECT_FALSE(view.caches->startCardValueDataCalcThreadIfNeededWithThreadCountToRun(2));
    EXPECT_FALSE(view.caches->startForceValueRangeCalcThreadIfNeededWithThreadCountToRun(2));
}

TEST(GraphicViewCache, RangeErrorsGiveFactorZeroAndAppearOnce)
{
    DrawingCacheFixture view(rodText);
    view.settings = drawEverythingSettings();
    view.settings.isForceScaleFactorAuto = true;
    // A run of the force range that ended with an error, as a force card that fails leaves it.
    UFemDataController& controller = view.model.controller();
    EXPECT_DOUBLE_EQ(view.model.forceRange().force, 12.0);
    const UErrorPtr failure = UFemGraphicDrawingError_withDescription(QStringLiteral("failed"));
    controller.forceValueRangeCalcThreadTaskContext().addCalculationError(failure);
    ASSERT_TRUE(view.drawFrame());
    bool isCanceled = false;
    for (int frame = 0; frame < 2; ++frame)
        ASSERT_TRUE(
            view.caches->waitAndUpdateDrawingPreferenceCacheIfNeeded_ForceScaleFactor(&isCanceled));
    const auto cache = view.caches->drawingPreferenceCache();
    EXPECT_EQ(cache.forceScaleFactor, 0.0);
    EXPECT_EQ(cache.momentScaleFactor, 0.0);
    EXPECT_EQ(view.drawingErrors(), QStringList { "failed" });
}

TEST(GraphicViewCache, DisplacementNotDrawnStartsNoRange)
{
    DrawingCacheFixture view(rodText);
    view.settings = drawEverythingSettings();
    view.settings.isDisplacementScaleFactorAuto = true;
    ASSERT_TRUE(view.drawFrame());
    EXPECT_FALSE(view.caches->startDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(2));
    EXPECT_EQ(view.model.controller().displacementValueRangeCalcThreadTaskContext().threadState(),
        UThreadTaskStateCleared);
}

TEST(GraphicViewCache, FailingValuesMarkTheirCards)
{
    // R2 names a property that does not exist, so its section area cannot be read.
    DrawingCacheFixture view(rodText + "Rod , R2 , RPX , N1 , N2 ,\n");
    view.settings = drawEverythingSettings();
    view.settings.isDrawWithColorByValue = true;
    view.settings.colorByValueCardValueExpression = expressionOf("SectionArea");
    auto filter = std::make_shared<UFemCardFilter>();
    ASSERT_TRUE(filter->setCardFilterString(QStringLiteral("type:Elem"), nullptr));
    view.settings.colorByValueCardFilter = filter;
    auto scale = std::make_shared<UFemColorScale>(*UFemColorScale::defaultUnitColorScale());
    UErrorPtr error;
    ASSERT_TRUE(scale->setColorScaleValueRangeWithRangeMinValue(0, 10, &error));
    view.settings.colorByValueColorScale = scale;
    ASSERT_TRUE(view.drawFrame());
    const UFemDrawingCardValueDataStruct& r1 = view.entryOf("R1");
    ASSERT_EQ(r1.colorValueStatus, UFemDrawingCardValueDataStruct::ValueValid);
    EXPECT_EQ(r1.colorValues[0], 3.0);
    EXPECT_EQ(
        view.entryOf("R2").colorValueStatus, UFemDrawingCardValueDataStruct::GettingValueFailed);
    EXPECT_TRUE(view.entryOf("R2").isNodeDataValid);
    EXPECT_EQ(view.entryOf("N1").colorValueStatus, UFemDrawingCardValueDataStruct::NoValue)
        << "the filter leaves nodes in their own colour";
    EXPECT_EQ(view.caches->drawingCardValueDataCache().numberOfCardValidByCardFilter, 2u);
    EXPECT_EQ(view.caches->drawingCardValueDataCache().numberOfCardRespondToValueExpression, 2u);
}

TEST(GraphicViewCache, MissingNodesGiveNaNOnlyWhereTheCardDrawsWithout)
{
    // E1 and R2 name a node N9 that does not exist.
    DrawingCacheFixture view(rodText
        + "Rod , R2 , RP , N1 , N9 ,\n"
          "RestraintEquation , E1 , 1.5 , N1@TX , 2 , N9@RY ,\n");
    view.settings = drawEverythingSettings();
    ASSERT_TRUE(view.drawFrame());
    const UFemDrawingCardValueDataStruct& equation = view.entryOf("E1");
    ASSERT_TRUE(equation.isNodeDataValid) << "an equation draws with a missing node";
    EXPECT_EQ(equation.nodeTable[0], 0.0);
    EXPECT_TRUE(std::isnan(equation.nodeTable[6]));
    EXPECT_FALSE(view.entryOf("R2").isNodeDataValid);
    EXPECT_TRUE(view.entryOf("R1").isNodeDataValid);
}

TEST(GraphicViewCache, ExtensionStoresHoldEveryRequest)
{
    using Store = UFemGraphicViewDrawingCardValueDataCacheExtendCardValueData;
    Store small(10);
    EXPECT_EQ(small.capacity(), Store::minimumCapacity);
    EXPECT_NE(small.doubleDataPtrWithNumberOfDouble(Store::minimumCapacity - 1), nullptr);
    EXPECT_NE(small.doubleDataPtrWithNumberOfDouble(1), nullptr) << "the last slot is usable";
    EXPECT_EQ(small.doubleDataPtrWithNumberOfDouble(1), nullptr);
    for (const quint64 request : { Store::minimumCapacity, 3 * Store::minimumCapacity }) {
        Store large(request);
        double* storeSlots = large.doubleDataPtrWithNumberOfDouble(request);
        ASSERT_NE(storeSlots, nullptr) << request;
        storeSlots[request - 1] = 1.0;
    }
}

// The hit writer is held inside its work until the test lets it go.
class GateDelegate : public UFemSelectBufferHitObjectWritingThreadTaskContext::Delegate {
public:
    bool runSelectBufferHitObjectWritingWithThreadContext(UThreadContext&) override
    {
        std::unique_lock lock(mutex);
        gate.wait(lock, [this] { return open; });
        return true;
    }
    std::mutex mutex;
    std::condition_variable gate;
    bool open = false;
};

TEST(GraphicViewCacheThreads, ClearingWhileATaskRunsIsAProgramError)
{
    DrawingCacheFixture view(rodText);
    GateDelegate gate;
    ASSERT_TRUE(view.hitWriter.setArgumentIfNeededWithDelegate(&gate, QRectF(), 31, 10));
    ASSERT_TRUE(view.hitWriter.startThreadIfNeeded_isCanceled(nullptr));
    EXPECT_THROW(view.caches->clearGraphicViewDrawingCache(), UException);
    {
        std::lock_guard lock(gate.mutex);
        gate.open = true;
    }
    gate.gate.notify_all();
    EXPECT_TRUE(view.hitWriter.waitAllThreadDone());
    view.caches->clearGraphicViewDrawingCache();
    EXPECT_EQ(view.hitWriter.threadState(), UThreadTaskStateCleared);
    EXPECT_FALSE(view.caches->isDrawingPreferenceCacheValid());
}

TEST(GraphicViewCacheThreads, TasksStartAgainAfterACancelMidRun)
{
    QString text = QStringLiteral("Material , Steel , 200 , 0.3 ,\nRodProp , RP , Steel , 3 ,\n");
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("Node , N%1 ,  , %2 , 0 , 0 ,\nForceDisp , D%1 , N%1@TX , %1\n"
                               "Rod , R%1 , RP , N%1 , N%3 ,\n")
                    .arg(i)
                    .arg(qlonglong(i) * i)
                    .arg(i + 1);
    text += QStringLiteral("Node , N4000 ,  , 0 , 1 , 0 ,\n");
    DrawingCacheFixture view(text);
    view.settings = drawEverythingSettings();
    view.settings.isDrawWithColorByValue = true;
    view.settings.colorByValueCardValueExpression = expressionOf("Length");
    view.settings.colorByValueColorScale = UFemColorScale::defaultUnitColorScale();
    UFemDataController& controller = view.model.controller();
    for (int round = 0; round < 2; ++round) {
        view.caches->updateDrawingPreferenceCacheIfNeeded();
        view.caches->startCardValueDataCalcThreadIfNeededWithThreadCountToRun(3);
        UFemStartDisplacementValueRangeCalcThreadIfNeededWithThreadCountToRun(controller, 3);
        view.caches->quitCardValueDataCalcThreadIfCalculating();
        controller.quitAllBackgroundThreadIfCalculating();
        controller.clearAllBackgroundThreadIfCanceled();
        view.caches->clearColorScaleRangeCache();
        view.caches->clearGraphicViewDrawingCache();
    }
    ASSERT_TRUE(view.drawFrame(3));
    EXPECT_EQ(view.caches->drawingCardValueDataCache().cardCount_selectableCard, 12001u);
    EXPECT_EQ(view.entryOf("N3999").nodeTable[0], 3999.0 * 3999.0);
    EXPECT_EQ(view.entryOf("R3999").colorValueStatus, UFemDrawingCardValueDataStruct::ValueValid);
    EXPECT_EQ(view.model.displacementRange(3), 3999.0);
    EXPECT_TRUE(view.drawingErrors().isEmpty()) << view.drawingErrors().join('|').toStdString();
}

} // namespace
