#include "DocumentTestSupport.h"

#include "cardmodel/data/UFemDataController.h"
#include "cardmodel/data/UFemWindowCardTable.h"
#include "documents/mainview/UFemMainViewController.h"
#include "documents/window/UFemWindowController.h"
#include "foundation/UFemNotFound.h"

#include <gtest/gtest.h>

namespace {

UFemWindowController* onlyWindow(UFemDocument& document)
{
    EXPECT_EQ(document.windowControllers().size(), 1u);
    if (document.windowControllers().empty())
        return nullptr;
    return dynamic_cast<UFemWindowController*>(document.windowControllers().front().get());
}

} // namespace

TEST(WindowControllerDocumentTest, AnOpenedModelShowsItsCardsAndClosingReleasesTheWindowFirst)
{
    DocumentHarness harness;
    harness.writeFile(QStringLiteral("m.vtmodel"), TwoNodeModel.toUtf8());
    UFemDocument* document = harness.open(QStringLiteral("m.vtmodel"));
    ASSERT_NE(document, nullptr);
    document->makeWindowControllers();
    UFemWindowController* window = onlyWindow(*document);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->viewType(), UFemViewTypeCard);
    EXPECT_EQ(window->ufemDocument(), document);
    EXPECT_EQ(window->windowCardTable().count(), 2u);
    EXPECT_EQ(window->statusString(), QStringLiteral("Cards in Window: 2 / Total: 2  "));

    window->setSelectedCardArray({ window->windowCardTable().cardAtIndex(0) });
    document->setEasyLocked(true);
    UErrorPtr error;
    EXPECT_EQ(window->cardRowIndexToAddCard(&error), UFemNotFound);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(),
        document->dataController().errorIfLocked()->localizedDescription());

    document->close();
    finishEventTurn();
    EXPECT_TRUE(harness.controller.documents().empty());
}

TEST(WindowControllerDocumentTest, AnEmptyProjectOpensOnItsInformationView)
{
    DocumentHarness harness;
    UFemDocument* document = harness.openUntitled(UFemProjectDocumentTypeName);
    ASSERT_NE(document, nullptr);
    ASSERT_FALSE(document->hasModelData());
    document->makeWindowControllers();
    UFemWindowController* window = onlyWindow(*document);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->viewType(), UFemViewTypeInfo);
    EXPECT_EQ(window->statusString(), QString());
}
