#pragma once

#include "GraphicViewTaskSet.h"
#include "ValueRangeTestModel.h"

#include "cardmodel/data/UFemDataController.h"
#include "graphicview/UFemGraphicViewSettings.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheManager.h"
#include "graphicview/caches/UFemGraphicViewDrawingCacheSource.h"

#include <atomic>
#include <memory>

// A model, the settings of a view on it, the view's nine tasks and the drawing caches over them,
// with the view's side played by the fixture itself.
class DrawingCacheFixture : public UFemGraphicViewDrawingCacheSource, public GraphicViewTaskSet {
public:
    explicit DrawingCacheFixture(const QString& modelText);
    ~DrawingCacheFixture() override;

    ValueRangeTestModel model;
    UFemGraphicViewSettings settings;
    UFemCardVector cases;
    double length = 1.0;
    std::atomic<int> finishCount { 0 };

    std::unique_ptr<UFemGraphicViewDrawingCacheManager> caches;

    // Card value data for the settings on `threadCount` workers; false when it did not finish.
    bool drawFrame(quint64 threadCount = 2);
    // The entry of the named card in the card value data.
    const UFemDrawingCardValueDataStruct& entryOf(const QString& cardName);
    // The descriptions of the preference cache's drawing errors.
    QStringList drawingErrors();

    const UFemGraphicViewSettings& viewSettings() const override { return settings; }
    UFemDataController& dataController() const override;
    UFemCardVector currentCaseCardArray() const override { return cases; }
    UFemCardPtr currentCaseCard() const override;
    UFemDrawingCardTypeCardArrays windowCardTypeCardArrays() const override;
    double objectLength() const override { return length; }
    quint64 foregroundTaskThreadCount() const override { return 2; }
    void cardValueDataDidFinish() override { ++finishCount; }
};

// Settings that draw every card kind, in colours that tell the records apart.
UFemGraphicViewSettings drawEverythingSettings();
// An expression parsed from the text.
std::shared_ptr<const UFemCardValueExpression> expressionOf(const QString& text);
