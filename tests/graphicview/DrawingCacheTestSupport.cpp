#include "DrawingCacheTestSupport.h"

#include "cardmodel/expression/UFemCardValueExpression.h"

#include <gtest/gtest.h>

DrawingCacheFixture::DrawingCacheFixture(const QString& modelText)
    : model(modelText)
{
    caches = std::make_unique<UFemGraphicViewDrawingCacheManager>(*this, drawingCacheTasks());
}

DrawingCacheFixture::~DrawingCacheFixture()
{
    caches.reset();
}

UFemDataController& DrawingCacheFixture::dataController() const
{
    return const_cast<ValueRangeTestModel&>(model).controller();
}

UFemCardPtr DrawingCacheFixture::currentCaseCard() const
{
    return cases.size() == 1 ? cases.front() : nullptr;
}

UFemDrawingCardTypeCardArrays DrawingCacheFixture::windowCardTypeCardArrays() const
{
    UFemDataController& controller = dataController();
    return { &controller.elementCardArray(), &controller.nodeCardArray(),
        &controller.restraintCardArray(), &controller.forceCardArray(),
        &controller.coordCardArray() };
}

bool DrawingCacheFixture::drawFrame(quint64 threadCount)
{
    caches->updateDrawingPreferenceCacheIfNeeded();
    caches->startCardValueDataCalcThreadIfNeededWithThreadCountToRun(threadCount);
    bool isCanceled = false;
    return caches->waitCardValueDataCalcThreadFinished_isCanceled(&isCanceled);
}

const UFemDrawingCardValueDataStruct& DrawingCacheFixture::entryOf(const QString& cardName)
{
    const UFemCard* card = &model.card(cardName);
    const UFemGraphicViewDrawingCardValueDataCache& cache = caches->drawingCardValueDataCache();
    for (quint64 i = 0; i < cache.cardCount_selectableCard; ++i)
        if (cache.cardValueData(i).card == card)
            return cache.cardValueData(i);
    throw std::runtime_error("not drawn: " + cardName.toStdString());
}

QStringList DrawingCacheFixture::drawingErrors()
{
    QStringList texts;
    for (const UErrorPtr& error : caches->drawingPreferenceCache().drawingErrorArray)
        texts << error->localizedDescription();
    return texts;
}

UFemGraphicViewSettings drawEverythingSettings()
{
    UFemGraphicViewSettings s;
    s.isNodeDraw = s.isElementDraw = s.isRestraintDraw = s.isForceDraw = s.isOtherCoordDraw = true;
    s.isSelectionDraw = true;
    s.nodeColor = { 0.2, 0.4, 0.6, 0.8 };
    s.elementColor = { 0, 0.5, 1, 1 };
    s.elementEdgeColor = { 0.1, 0.1, 0.1, 1 };
    s.restraintColor = { 1, 0.5, 0, 0.5 };
    s.forceColor = { 0.8, 0.6, 0.2, 0.25 };
    s.otherCoordColor = { 0.4, 0.2, 1, 0.75 };
    s.selectionColor = { 1, 1, 0, 0.5 };
    s.nonDisplacementModelColor = { 0.6, 0.6, 0.6, 0.3 };
    s.autoForceArrowLength = 100;
    s.autoForceMomentArrowLength = 50;
    s.autoDisplacementPerObjectLengthFactor = 0.12;
    return s;
}

std::shared_ptr<const UFemCardValueExpression> expressionOf(const QString& text)
{
    auto expression = std::make_shared<UFemCardValueExpression>();
    UErrorPtr error;
    EXPECT_TRUE(expression->setCardValueExpressionString(text, &error))
        << (error ? error->localizedDescription().toStdString() : std::string());
    return expression;
}
