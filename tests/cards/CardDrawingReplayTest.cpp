#include "CardsTestModel.h"
#include "ReplayTestSupport.h"
#include "RunJobsWithDeadline.h"

#include "cardmodel/card/UFemCardName.h"
#include "graphics/drawingbuffer/UFemGraphicDrawingInfo.h"
#include "graphics/drawingbuffer/UGLRootDrawingBuffer.h"
#include "graphics/drawingbuffer/UGLSelectionBuffer.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace cardstest;

namespace {

// A box Hexa left of the origin (its +z face at z 20 toward the eye) and a flat Quad right of it,
// in image points (one model unit a point).
const QString replayModel = u"Material , M , 1000 , 0.3 ,\n"
                            "ShellProp , SP , M , 0.1 ,\n"
                            "SolidProp , XP , M ,\n"
                            "Node , N1 ,  , -60 , -20 , -20 ,\n"
                            "Node , N2 ,  , -20 , -20 , -20 ,\n"
                            "Node , N3 ,  , -20 , 20 , -20 ,\n"
                            "Node , N4 ,  , -60 , 20 , -20 ,\n"
                            "Node , N5 ,  , -60 , -20 , 20 ,\n"
                            "Node , N6 ,  , -20 , -20 , 20 ,\n"
                            "Node , N7 ,  , -20 , 20 , 20 ,\n"
                            "Node , N8 ,  , -60 , 20 , 20 ,\n"
                            "Node , M1 ,  , 20 , -20 , 0 ,\n"
                            "Node , M2 ,  , 60 , -20 , 0 ,\n"
                            "Node , M3 ,  , 60 , 20 , 0 ,\n"
                            "Node , M4 ,  , 20 , 20 , 0 ,\n"
                            "Hexa , H1 , XP , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                            "Quad , Q1 , SP , M1 , M2 , M3 , M4 ,\n"_qs;
constexpr quint64 hexaRow = 15;
constexpr quint64 quadRow = 16;
constexpr _UGLColor hexaColor { 1, 0, 0, 1 };
constexpr _UGLColor quadColor { 0, 0.8, 0.2, 1 };
constexpr QSizeF frameSize(160, 80);

// The node position table the 3-D view hands a card: six doubles per drawing node.
std::vector<double> positionTableOf(const UFemCard& card)
{
    std::vector<UFemCardName*> names(card.numberOfNodeForDrawing());
    card.getNodeCardNamesForDrawingToNodeCardNameTable(names.data(), names.size(), nullptr);
    std::vector<double> table;
    for (const UFemCardName* name : names) {
        const QString text = name->cardNameString();
        const int number = text.mid(1).toInt();
        const double hexaCorner[8][3]
            = { { -60, -20, -20 }, { -20, -20, -20 }, { -20, 20, -20 }, { -60, 20, -20 },
                  { -60, -20, 20 }, { -20, -20, 20 }, { -20, 20, 20 }, { -60, 20, 20 } };
        const double quadCorner[4][3]
            = { { 20, -20, 0 }, { 60, -20, 0 }, { 60, 20, 0 }, { 20, 20, 0 } };
        const double* corner
            = text.startsWith('N') ? hexaCorner[number - 1] : quadCorner[number - 1];
        table.insert(table.end(), { corner[0], corner[1], corner[2], 0, 0, 0 });
    }
    return table;
}

UFemGraphicDrawingInfo drawingInfo(bool isSelectMode)
{
    UFemGraphicDrawingInfo info;
    info.setImageQuality(isSelectMode ? UGLImageQualitySelection : UGLImageQualityScreen);
    info.setLengthPerPixel(1);
    info.setElementEdgeDraw(!isSelectMode);
    info.setElementEdgeWidth(1);
    return info;
}

// One drawing thread per card, each writing its child of the root as the 3-D view does.
void drawCards(CardsTestModel& model, UGLRootDrawingBuffer& root, bool isSelectMode)
{
    root.resetBufferWithChildBufferCount(2);
    root.setEdgeDrawingBufferEnabled(!isSelectMode);
    root.setDoesDrawForSelectMode(isSelectMode);
    std::vector<std::function<void()>> jobs;
    const std::pair<quint64, const _UGLColor*> cards[2]
        = { { hexaRow, &hexaColor }, { quadRow, &quadColor } };
    for (quint64 child = 0; child < 2; ++child) {
        jobs.emplace_back([&, child] {
            const auto [row, color] = cards[child];
            UGLDrawingBuffer& buffer = *root.drawingBufferAtIndex(child);
            const UFemCard& card = model.card(row);
            const std::vector<double> table = positionTableOf(card);
            UFemGraphicDrawingInfo info = drawingInfo(isSelectMode);
            bool canceled = false;
            UErrorPtr error;
            buffer.openWriteStageWithStageIdentifier(0, &canceled);
            buffer.setCurrentWriteObjectName(row, &canceled);
            EXPECT_TRUE(card.drawOpenGLToDrawingBuffer(
                &buffer, table.data(), color, nullptr, nullptr, nullptr, &info, &error));
            buffer.closeCurrentWriteStage_isCanceled(&canceled);
            buffer.finishWriteBuffer_isCanceled(&canceled);
            EXPECT_FALSE(canceled);
        });
    }
    runJobsWithDeadline(jobs);
}

} // namespace

TEST(CardDrawingReplay, HexaAndQuadShowTheirFacesWhereTheCameraPutsThem)
{
    CardsTestModel model;
    model.read(replayModel);
    auto manager = softwareManager();
    ASSERT_TRUE(manager);
    for (const UGLOpenGLVersion version : { UGLOpenGLVersion_1_1, UGLOpenGLVersion_1_4 }) {
        SCOPED_TRACE(version);
        UGLRootDrawingBuffer root(version);
        drawCards(model, root, false);
        const ReplayFrame frame = renderReplayFrame(*manager, frameSize, false, [&] {
            std::vector<UFemGraphicCocoaDrawObject> objects;
            EXPECT_TRUE(replayAllStages(root, root, &objects));
        });
        // The Hexa's face toward the eye, inside its edges, and the Quad's face.
        for (const double d : { -16.0, 0.0, 16.0 }) {
            EXPECT_TRUE(showsColourAt(frame, -40 + d, d, 20, replayRgb(hexaColor)));
            EXPECT_TRUE(showsColourAt(frame, 40 + d, -d, 0, replayRgb(quadColor)));
        }
        for (const auto& outside : { std::array { -64.0, 0.0 }, std::array { 0.0, 0.0 },
                 std::array { 40.0, 24.0 }, std::array { 64.0, 0.0 } })
            EXPECT_TRUE(showsColourAt(frame, outside[0], outside[1], 0, qRgb(0, 0, 0)));

        // Picking through the same path finds each card under its own name.
        for (const auto& [x, y, name] :
            { std::tuple { -40.0, 0.0, hexaRow }, std::tuple { 40.0, 0.0, quadRow } }) {
            drawCards(model, root, true);
            manager->setRestrictiveDrawRect(
                QRectF(frameSize.width() / 2 + x - 2, frameSize.height() / 2 + y - 2, 4, 4));
            UGLSelectionBuffer selection;
            std::vector<UGLSelectionHit> hits;
            renderReplayFrame(*manager, frameSize, false, [&] {
                hits = selection.selectHits(
                    [&] {
                        std::vector<UFemGraphicCocoaDrawObject> objects;
                        EXPECT_TRUE(replayAllStages(root, root, &objects));
                    },
                    false, nullptr);
            });
            manager->clearRestrictiveDrawRect();
            ASSERT_EQ(hits.size(), 1u);
            EXPECT_EQ(hits[0].names, std::vector<quint32> { quint32(name) });
        }
    }
}
