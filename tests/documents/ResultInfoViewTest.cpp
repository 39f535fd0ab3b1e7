#include "ResultTextStandIn.h"
#include "WindowTestSupport.h"

#include "documents/mainview/UFemInfoViewBoxView.h"
#include "documents/mainview/UFemInsidePanelTextView.h"
#include "documents/mainview/UFemMainViewControllerMaker.h"
#include "documents/mainview/UFemResultInfoViewController.h"
#include "documents/toolbar/UFemWindowToolbar.h"

#include <QComboBox>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

struct ResultWindow {
    explicit ResultWindow(std::optional<QString> errorText)
        : harness(UFemDocumentTypeResult, WindowModelText, UFemMakeMainViewController)
    {
        harness.document->title = QStringLiteral("Frame");
        harness.document->version = QStringLiteral("2");
        harness.document->comment = QStringLiteral("Two storeys\nwind from the west");
        UErrorPtr error;
        EXPECT_TRUE(harness.model().setResultDataManager(
            makeResultWithErrorText(harness.model().modelTextOfAllCards(), std::move(errorText)),
            true, &error))
            << (error ? error->localizedDescription().toStdString() : std::string());
        harness.window->setViewType(UFemViewTypeInfo);
    }
    UFemResultInfoViewController& view() const
    {
        return dynamic_cast<UFemResultInfoViewController&>(*harness.window->mainViewController());
    }

    WindowHarness harness;
};

} // namespace

TEST(ResultInfoViewTest, ShowsTheStoredProjectTextsAndNoErrorReadOnly)
{
    ResultWindow result(std::nullopt);
    UFemResultInfoViewController& view = result.view();
    EXPECT_EQ(view.minimumMainViewBoxSize(), QSize(600, 400));
    EXPECT_EQ(view.form().title->text(), QStringLiteral("Frame"));
    EXPECT_EQ(view.form().version->text(), QStringLiteral("2"));
    EXPECT_EQ(
        view.form().comment->toPlainText(), QStringLiteral("Two storeys\nwind from the west"));
    EXPECT_EQ(view.form().calculationError->toPlainText(), QStringLiteral("No Error."));
    EXPECT_TRUE(view.form().comment->isReadOnly());
    EXPECT_TRUE(view.form().calculationError->isReadOnly());

    UErrorPtr error;
    EXPECT_EQ(view.cardRowIndexToAddCard(&error), UFemNotFound);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->localizedDescription(),
        QStringLiteral("Can't edit model data on Project Info View."));
}

TEST(ResultInfoViewTest, ShowsTheCalculationErrorText)
{
    ResultWindow result(QStringLiteral("Matrix is singular at node N2."));
    EXPECT_EQ(result.view().resultDataCalculationErrorString(),
        QStringLiteral("Matrix is singular at node N2."));
    EXPECT_EQ(result.view().form().calculationError->toPlainText(),
        QStringLiteral("Matrix is singular at node N2."));
}

TEST(ResultInfoViewTest, UndoAndRedoReadPlainTitlesAndStayOff)
{
    ResultWindow result(std::nullopt);
    auto* box = dynamic_cast<UFemInfoViewBoxView*>(result.view().mainViewBox());
    ASSERT_NE(box, nullptr);
    CommandItem undo(QStringLiteral("undo:"));
    EXPECT_FALSE(box->validateCommand(undo));
    EXPECT_EQ(undo.title(), QStringLiteral("Undo"));
    CommandItem redo(QStringLiteral("redo:"));
    EXPECT_FALSE(box->validateCommand(redo));
    EXPECT_EQ(redo.title(), QStringLiteral("Redo"));
    box->performCommand(redo);
    EXPECT_EQ(result.harness.beepCount(), 0);
}

TEST(ResultInfoViewTest, TheToolbarNamesTheViewResultInfo)
{
    ResultWindow result(std::nullopt);
    EXPECT_EQ(result.harness.window->toolbar().viewTypePopup()->currentText(),
        QStringLiteral("Result Info"));
}
