#include "CalculationModelSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Two unit rods along x from the held N1 (k = 1000 each); the case's loads and restraints reach
// their cards through chains of sets `depth` deep, written from the top (the case's end) down or
// from the bottom up.
QString modelWithSetChains(int depth, bool topDown)
{
    QString text = u"Material , M , 1000 , 0.3 ,\n"
                   "RodProp , RP , M , 1 ,\n"
                   "Node , N1 ,  , 0 , 0 , 0 ,\n"
                   "Node , N2 ,  , 1 , 0 , 0 ,\n"
                   "Node , N3 ,  , 2 , 0 , 0 ,\n"
                   "Rod , R1 , RP , N1 , N2 ,\n"
                   "Rod , R2 , RP , N2 , N3 ,\n"
                   "FixNode , S , N1 , YES , YES , YES ,\n"
                   "FixNode , S , N2 , NO , YES , YES ,\n"
                   "FixNode , S , N3 , NO , YES , YES ,\n"
                   "Force , F , N3 ,  , 5 , 0 , 0 , 0 , 0 , 0 ,\n"
                   "Case , A , LINEAR_STATIC , RS0 , FS0 ,\n"_s;
    for (int step = 0; step < depth; ++step) {
        const int k = topDown ? step : depth - 1 - step;
        const QString force = k + 1 < depth ? u"FS%1"_s.arg(k + 1) : u"F"_s;
        const QString restraint = k + 1 < depth ? u"RS%1"_s.arg(k + 1) : u"S"_s;
        // Only the top set doubles the load.
        text += u"ForceSet , FS%1 , %2 , %3 ,\nRestraintSet , RS%1 , %4 ,\n"_s.arg(k)
                    .arg(k == 0 ? 2 : 1)
                    .arg(force, restraint);
    }
    return text;
}

} // namespace

TEST(DeepSetChain, AHundredThousandSetsDeepAreCalculatedInEitherOrder)
{
    for (const bool topDown : { false, true }) {
        SCOPED_TRACE(topDown ? "top down" : "bottom up");
        CalculationTestModel model(modelWithSetChains(100000, topDown));
        UErrorPtr error;
        ASSERT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
        EXPECT_FALSE(model.caseErrorString(u"N3"_s, u"A"_s));
        // 2 x 5 through two springs of 1000 in a row.
        EXPECT_DOUBLE_EQ(model.displacement(u"N3"_s, u"A"_s)[0], 0.02);
    }
}
