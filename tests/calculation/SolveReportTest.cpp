#include "CalculationModelSupport.h"

#include "calculation/UFemDataControllerRunCalculation.h"

#include <gtest/gtest.h>

#include <QFile>

using namespace Qt::StringLiterals;

TEST(SolveReport, EveryCardThatStopsTheRunIsListedWithItsLineAndReasonUpToTheLimit)
{
    QFile file(QStringLiteral(VANTREL_TEST_DATA_DIR "/three-bad-cards.vtmodel"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    CalculationTestModel model(QString::fromUtf8(file.readAll()));
    EXPECT_EQ(UFemReportOfCardsWithError(model.controller()),
        u"line 5: Node , N2 ,  , 1x , 0 , 0 ,\n"
        "    Character 'x' exists in Real Number Value column. - Error on: 1'x' -  ( Column 4 )\n"
        "line 8: Beam , B1 , RP , N1 , N3 ,\n"
        "    Unknown Card Class Name: 'Beam'.\n"
        "line 9: Rod , R2 , RP , N3 , N3 ,\n"
        "    ( Error on Register ) Node 1 and Node 2 are same.\n"_s);
    const QString report = UFemReportOfCardsWithError(model.controller(), 2);
    EXPECT_TRUE(report.startsWith(u"line 5: "_s));
    EXPECT_TRUE(report.endsWith(u"'Beam'.\n... and 1 more cards\n"_s)) << report.toStdString();

    // A card without error says nothing.
    EXPECT_EQ(UFemReportOfCardsWithError(
                  CalculationTestModel(exampleModelText(u"rod-truss.vtmodel"_s)).controller()),
        QString());
}

// A line holding a vast token is reported by its head: composing it whole once took more memory
// than reading it.
TEST(HugeTokenReport, TheLineIsCutAfter160CharactersAndTheReasonQuotesTheToken)
{
    const QString truss = exampleModelText(u"rod-truss.vtmodel"_s);
    const QString head = u"Force , Big , N4 ,  , "_s;
    const QString line = head + QString(1 << 20, u'9') + u" , 0 , 0 , 0 , 0 , 0 ,"_s;
    CalculationTestModel model(truss + line + u'\n');
    EXPECT_EQ(UFemReportOfCardsWithError(model.controller()),
        u"line %1: "_s.arg(truss.count(u'\n') + 1) + head + QString(160 - head.size(), u'9')
            + u"…\n    Float value string '"_s + QString(64, u'9')
            + u"…' seems too long. ( Column 5 )\n"_s);
}
