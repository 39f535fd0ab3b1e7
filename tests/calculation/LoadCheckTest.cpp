#include "CalculationModelSupport.h"

#include "calculation/results/UFemResultFileWriter.h"

#include "FileSizeLimitedChild.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;

// Two unit rods along x (k = E A / L) from N1, which is held.
QString rodChain(const QString& modulus, const QString& area)
{
    return u"Material , M , %1 , 0.3 ,\n"
           "RodProp , RP , M , %2 ,\n"
           "Node , N1 ,  , 0 , 0 , 0 ,\n"
           "Node , N2 ,  , 1 , 0 , 0 ,\n"
           "Node , N3 ,  , 2 , 0 , 0 ,\n"
           "Rod , R1 , RP , N1 , N2 ,\n"
           "Rod , R2 , RP , N2 , N3 ,\n"
           "FixNode , S , N1 , YES , YES , YES ,\n"
           "FixNode , S , N2 , NO , YES , YES ,\n"
           "FixNode , S , N3 , NO , YES , YES ,\n"
           "Case , A , LINEAR_STATIC , S , F ,\n"_s.arg(modulus, area);
}

const QString steelChain = rodChain(u"1000"_s, u"1"_s);

struct FailingModel {
    const char* name;
    QString text;
    QString error;
};

// Calculates each model; its set must fail with the error and no displacement may be stored.
void expectSetFailures(const std::vector<FailingModel>& models)
{
    for (const FailingModel& m : models) {
        SCOPED_TRACE(m.name);
        CalculationTestModel model(m.text);
        UErrorPtr error;
        ASSERT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
        EXPECT_EQ(model.caseErrorString(u"N1"_s, u"A"_s), m.error);
    }
}

QString failedOn(const QString& description, const QString& dof, const QString& suggestion)
{
    return u"Calculation failed. %1 ( DOF: %2 ) %3"_s.arg(description, dof, suggestion);
}

const QString unstiffenedSuggestion
    = u"Check that an element stiffens the DOF in that direction, or restrain it."_s;

QString unstiffenedLoad(const QString& dof)
{
    return failedOn(u"A load found on a DOF which no element stiffens in Case 'A'."_s, dof,
        unstiffenedSuggestion);
}

} // namespace

TEST(NonFinite, HugeForcedDisplacementsAndTinyStiffnessesFailTheirSetInsteadOfWritingNaN)
{
    expectSetFailures({
        // -K u of the forced displacement overflows the loads of N2: 1000 x 1e308.
        { "forced 1e308",
            steelChain
                + u"ForceDisp , S , N3@TX , 1e308 ,\n"
                  "Force , F , N2 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n"_s,
            failedOn(u"A non-finite value found in Force Matrix of Case 'A' after applying "
                     "restraints."_s,
                u"N2@TX"_s,
                u"Check the values of loads and forced displacements: they are too large for "
                "the stiffness."_s) },
        // k = 1e-200 x 1e-100 = 1e-300 is a fine pivot, but 1e200 / 1e-300 overflows.
        { "E 1e-200, area 1e-100, load 1e200",
            rodChain(u"1e-200"_s, u"1e-100"_s)
                + u"Force , F , N3 ,  , 1e200 , 0 , 0 , 0 , 0 , 0 ,\n"_s,
            failedOn(u"A non-finite value found in Displacement of Case 'A'."_s, u"N2@TX"_s,
                u"Check the values of stiffness and loads: they are too far apart in size."_s) },
    });
}

TEST(UnstiffenedLoad, ALoadOrForcedDisplacementNothingCarriesFailsItsSet)
{
    QString hexa = exampleModelText(u"hexa-cantilever.vtmodel"_s);
    hexa.replace(u"Steel , 210000"_s, u"Steel , 0"_s).replace(u"Case , Tip"_s, u"Case , A"_s);
    const QString loadAtN3 = u"Force , F , N3 ,  , 0 , 0 , 5 , 0 , 0 , 0 ,\n"_s;
    expectSetFailures({
        { "rod of E 0",
            rodChain(u"0"_s, u"1"_s) + u"Force , F , N3 ,  , 5 , 0 , 0 , 0 , 0 , 0 ,\n"_s,
            unstiffenedLoad(u"N3@TX"_s) },
        { "rod of area 0",
            rodChain(u"1000"_s, u"0"_s) + u"Force , F , N3 ,  , 5 , 0 , 0 , 0 , 0 , 0 ,\n"_s,
            unstiffenedLoad(u"N3@TX"_s) },
        { "hexa of E 0", hexa, unstiffenedLoad(u"N91@TZ"_s) },
        { "node no element uses",
            steelChain
                + u"Node , N9 ,  , 5 , 5 , 0 ,\nForce , F , N9 ,  , 0 , 1 , 0 , 0 , 0 , 0 ,\n"_s,
            unstiffenedLoad(u"N9@TY"_s) },
        { "load out of the plane of the truss",
            rodChain(u"1000"_s, u"1"_s).replace(u"N3 , NO , YES , YES"_s, u"N3 , NO , YES , NO"_s)
                + loadAtN3,
            unstiffenedLoad(u"N3@TZ"_s) },
        { "forced displacement of a node no element uses",
            steelChain
                + u"Node , N9 ,  , 5 , 5 , 0 ,\nForceDisp , S , N9@TX , 0.5 ,\n"
                  "Force , F , N3 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n"_s,
            failedOn(u"A forced displacement found on a DOF which no element stiffens in Case "
                     "'A'."_s,
                u"N9@TX"_s, unstiffenedSuggestion) },
    });

    // Zero loads and forced zeros on such DOFs are dropped as before: a plain result.
    CalculationTestModel model(steelChain
        + u"Node , N9 ,  , 5 , 5 , 0 ,\nForceDisp , S , N9@TX , 0 ,\n"
          "Force , F , N3 ,  , 10 , 0 , 0 , 0 , 0 , 0 ,\nForce , F , N9 ,  , 0 , 0 , 0 , 0 , 0 , 0 ,\n"_s);
    UErrorPtr error;
    ASSERT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
    EXPECT_FALSE(model.caseErrorString(u"N3"_s, u"A"_s));
    EXPECT_DOUBLE_EQ(model.displacement(u"N3"_s, u"A"_s)[0], 0.02); // 10 / 1000 per rod
}

TEST(SafeWrite, AResultFilePastTheSizeLimitKeepsTheOldResultAndSaysWhy)
{
    CalculationTestModel model(exampleModelText(u"rod-truss.vtmodel"_s));
    UErrorPtr error;
    ASSERT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
    const std::optional<QByteArray> data
        = model.controller().resultDataManager()->resultFileData(&error);
    ASSERT_TRUE(data);
    constexpr rlim_t SizeLimit = 1000;
    ASSERT_GT(data->size(), qsizetype(SizeLimit));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(u"rod-truss.vtresult"_s);
    const QByteArray old = "an earlier result";
    QFile oldFile(path);
    ASSERT_TRUE(oldFile.open(QIODevice::WriteOnly) && oldFile.write(old) == old.size());
    oldFile.close();

    const std::string outcome = runWithFileSizeLimit(SizeLimit, [&] {
        UErrorPtr failure;
        if (UFemWriteResultFile(path, *data, &failure))
            return std::string("written");
        return std::to_string(failure->code()) + "|"
            + (failure->localizedDescription() + u'|' + failure->localizedRecoverySuggestion())
                  .toStdString();
    });
    EXPECT_EQ(outcome,
        "11032|Result File 'rod-truss.vtresult' could not be saved.|"
        "The file “rod-truss.vtresult” could not be saved. File too large.");
    ASSERT_TRUE(oldFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(oldFile.readAll(), old);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList { u"rod-truss.vtresult"_s });
}
