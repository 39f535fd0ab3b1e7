#include "DataControllerStandIns.h"
#include "FakeCardClasses.h"

#include "cardmodel/card/ErrorCard.h"
#include "cardmodel/data/UFemDataController.h"

#include <gtest/gtest.h>

using namespace fakecards;
using namespace Qt::StringLiterals;

namespace {

// Long enough to be no number, short enough for a shared machine; the quoting does not depend on
// the length past 64.
constexpr qsizetype TokenLength = 4 * 1024 * 1024;

class HugeToken : public ::testing::Test {
protected:
    void SetUp() override
    {
        installFakeCardClassesIntoSharedRegistry();
        controller = std::make_unique<UFemDataController>(recording.services());
    }
    void TearDown() override { setCardMakingExhaustsMemory(false); }

    RecordingServices recording;
    std::unique_ptr<UFemDataController> controller;
};

} // namespace

TEST_F(HugeToken, AnErrorQuotesSixtyFourCharactersOfTheToken)
{
    const QString digits(TokenLength, u'7');
    const QString quoted = QString(64, u'7') + u'…';
    const struct {
        QString line;
        QString error;
    } cases[] = {
        { u"Node , N1 ,  , "_s + digits + u" , 0 , 0 ,"_s,
            u"Float value string '"_s + quoted + u"' seems too long. ( Column 4 )"_s },
        { u"Case , C1 , S , F , "_s + digits + u" , t ,"_s,
            u"Integer value '"_s + quoted
                + u"' is too big. ( Too long integer string. ) ( Column 5 )"_s },
    };
    for (const auto& c : cases) {
        UErrorPtr error;
        ASSERT_TRUE(controller->resetWithModelText(c.line + u'\n', true, &error));
        ASSERT_EQ(controller->cardCount(), 1u);
        const auto* card = dynamic_cast<const ErrorCard*>(controller->cardAtRowIndex(0));
        ASSERT_NE(card, nullptr);
        EXPECT_EQ(card->cardErrorDescriptionString(), c.error);
        // The line itself is kept whole, so that saving writes it back as it was.
        EXPECT_EQ(card->errorCardString_NoCardErrorDescription(), c.line);
    }
}

TEST_F(HugeToken, MemoryRunningOutWhileReadingIsTheMemoryErrorAndLeavesAnEmptyModel)
{
    ASSERT_TRUE(controller->resetWithModelText(u"Node , N1 ,  , 0 , 0 , 0 ,\n"_s, true, nullptr));
    setCardMakingExhaustsMemory(true);
    UErrorPtr error;
    EXPECT_FALSE(controller->resetWithModelText(u"Node , N2 ,  , 1 , 0 , 0 ,\n"_s, true, &error));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), 81001);
    EXPECT_EQ(controller->cardCount(), 0u);
}
