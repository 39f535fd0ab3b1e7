// Model text in, result file out and back: each model is calculated, its results are written to a
// result file, read back onto a fresh model of the same text, and checked there.

#include "CalculationModelSupport.h"
#include "QStringPrinting.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

class EndToEnd : public ::testing::Test {
protected:
    // Calculates the text and gives the model read back from its result file.
    std::unique_ptr<CalculationTestModel> solved(const QString& modelText)
    {
        CalculationTestModel model(modelText);
        UErrorPtr error;
        EXPECT_TRUE(model.calculate(&error)) << descriptionOf(error).toStdString();
        if (model.controller().resultDataManager() == nullptr)
            return std::make_unique<CalculationTestModel>(modelText);
        return model.reopenedWithResultFile(resultPath());
    }
    QString resultPath() const { return directory_.filePath(QStringLiteral("model.vtresult")); }

private:
    QTemporaryDir directory_;
};

void expectNear(
    const std::array<double, 3>& value, const std::array<double, 3>& reference, double tolerance)
{
    for (int d = 0; d < 3; ++d)
        EXPECT_NEAR(value[d], reference[d], tolerance) << "direction " << d;
}

const QString steelRod = QStringLiteral("Material , M , 1000 , 0.3 ,\nRodProp , A1 , M , 1 ,\n");

} // namespace

// u = PL/EA for a bar of E = 200, A = 3, L = 2 under P = 6.
TEST_F(EndToEnd, BarElongatesByPLOverEA)
{
    const auto model = solved(u"Material , M , 200 , 0.3 ,\nRodProp , RP , M , 3 ,\n"
                              "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 2 , 0 , 0 ,\n"
                              "Rod , R1 , RP , N1 , N2 ,\n"
                              "FixNode , S , N1 , YES , YES , YES ,\n"
                              "Force , F , N2 ,  , 6 , 0 , 0 , 0 , 0 , 0 ,\n"
                              "Case , C , LINEAR_STATIC , S , F ,\n"_qs);
    const double P = 6.0, L = 2.0, E = 200.0, A = 3.0;
    EXPECT_NEAR(model->displacement(u"N2"_qs, u"C"_qs)[0], P * L / (E * A), 1e-15);
}

// Two bars of length 5 meeting at an apex 4 above their feet: each carries P / (2 cos a), the apex
// sinks by P L / (2 EA cos^2 a). The tripod of the example agrees with an outside solver.
TEST_F(EndToEnd, StaticallyDeterminateTrusses)
{
    const auto twoBars = solved(steelRod
        + u"Node , N1 ,  , -3 , 0 , 0 ,\nNode , N2 ,  , 3 , 0 , 0 ,\nNode , N3 ,  , 0 , 0 , 4 ,\n"
          "Rod , R1 , A1 , N1 , N3 ,\nRod , R2 , A1 , N2 , N3 ,\n"
          "FixNode , S , N1 , YES , YES , YES ,\nFixNode , S , N2 , YES , YES , YES ,\n"
          "Force , F , N3 ,  , 0 , 0 , -100 , 0 , 0 , 0 ,\n"
          "Case , C , LINEAR_STATIC , S , F ,\n"_qs);
    const double P = 100.0, L = 5.0, EA = 1000.0, cosA = 4.0 / 5.0;
    expectNear(twoBars->displacement(u"N3"_qs, u"C"_qs),
        { 0.0, 0.0, -P * L / (2 * EA * cosA * cosA) }, 1e-13);

    const auto tripod = solved(exampleModelText(u"rod-truss.vtmodel"_qs));
    expectNear(tripod->displacement(u"N4"_qs, u"Apex"_qs),
        { 2.944194e-3, -3.584526e-4, -2.219112e-3 }, 1e-9);
}

// Springs of 1000, 2000 and 4000 in a row, the far end moved by 0.7: the chain carries
// 0.7 / (1/1000 + 1/2000 + 1/4000) = 400.
TEST_F(EndToEnd, SpringChainWithEnforcedEndDisplacement)
{
    const auto model
        = solved(u"Material , M , 1000 , 0.3 ,\n"
                 "RodProp , A1 , M , 1 ,\nRodProp , A2 , M , 2 ,\nRodProp , A4 , M , 4 ,\n"
                 "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\n"
                 "Node , N3 ,  , 2 , 0 , 0 ,\nNode , N4 ,  , 3 , 0 , 0 ,\n"
                 "Rod , R1 , A1 , N1 , N2 ,\nRod , R2 , A2 , N2 , N3 ,\nRod , R3 , A4 , N3 , N4 ,\n"
                 "FixNode , S , N1 , YES , YES , YES ,\nForceDisp , S , N4@TX , 0.7 ,\n"
                 "Force , F , N2 ,  , 0 , 0 , 0 , 0 , 0 , 0 ,\n"
                 "Case , C , LINEAR_STATIC , S , F ,\n"_qs);
    const double force = 0.7 / (1.0 / 1000 + 1.0 / 2000 + 1.0 / 4000);
    EXPECT_NEAR(model->displacement(u"N2"_qs, u"C"_qs)[0], force / 1000, 1e-14);
    EXPECT_NEAR(model->displacement(u"N3"_qs, u"C"_qs)[0], force / 1000 + force / 2000, 1e-14);
    EXPECT_EQ(model->displacement(u"N4"_qs, u"C"_qs)[0], 0.7);
}

// A restraint equation ties the ends of two parallel bars (EA 1000 and 3000): they move together
// and share the load, u = P / 4000.
TEST_F(EndToEnd, RigidLinkByRestraintEquation)
{
    const auto model = solved(steelRod
        + u"RodProp , A3 , M , 3 ,\n"
          "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\n"
          "Node , N3 ,  , 0 , 1 , 0 ,\nNode , N4 ,  , 1 , 1 , 0 ,\n"
          "Rod , R1 , A1 , N1 , N2 ,\nRod , R2 , A3 , N3 , N4 ,\n"
          "FixNode , S , N1 , YES , YES , YES ,\nFixNode , S , N3 , YES , YES , YES ,\n"
          "RestraintEquation , S , 1.0 , N4@TX , -1.0 , N2@TX ,\n"
          "Force , F , N2 ,  , 100 , 0 , 0 , 0 , 0 , 0 ,\n"
          "Case , C , LINEAR_STATIC , S , F ,\n"_qs);
    EXPECT_NEAR(model->displacement(u"N2"_qs, u"C"_qs)[0], 100.0 / 4000.0, 1e-15);
    EXPECT_NEAR(model->displacement(u"N4"_qs, u"C"_qs)[0], 100.0 / 4000.0, 1e-15);
}

// The distorted single Hexa, against an outside solver's C3D8 to its 7 printed digits.
TEST_F(EndToEnd, DistortedHexaMatchesTheReference)
{
    const auto model
        = solved(u"Material , M , 210000 , 0.3 ,\nSolidProp , SP , M ,\n"
                 "Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 2 , 0.1 , 0 ,\n"
                 "Node , N3 ,  , 2.3 , 1.2 , 0.2 ,\nNode , N4 ,  , -0.2 , 1 , 0.1 ,\n"
                 "Node , N5 ,  , 0.1 , -0.1 , 1.5 ,\nNode , N6 ,  , 1.9 , 0.2 , 1.3 ,\n"
                 "Node , N7 ,  , 2.1 , 1.3 , 1.7 ,\nNode , N8 ,  , 0 , 1.1 , 1.4 ,\n"
                 "Hexa , H1 , SP , N1 , N2 , N3 , N4 , N5 , N6 , N7 , N8 ,\n"
                 "FixNode , S , N1 , YES , YES , YES ,\nFixNode , S , N2 , YES , YES , YES ,\n"
                 "FixNode , S , N3 , YES , YES , YES ,\nFixNode , S , N4 , YES , YES , YES ,\n"
                 "Force , F , N7 ,  , 100 , 0 , -250 , 0 , 0 , 0 ,\n"
                 "Force , F , N5 ,  , 0 , 80 , 0 , 0 , 0 , 0 ,\n"
                 "Case , C , LINEAR_STATIC , S , F ,\n"_qs);
    // The reference's 7 digits, relative to the largest displacement.
    constexpr double printed = 1e-6 * 5.905226e-3;
    expectNear(
        model->displacement(u"N5"_qs, u"C"_qs), { 8.651143e-4, 4.809271e-3, 2.102558e-3 }, printed);
    expectNear(
        model->displacement(u"N6"_qs, u"C"_qs), { 5.231429e-4, 1.173188e-4, 9.810840e-5 }, printed);
    expectNear(model->displacement(u"N7"_qs, u"C"_qs), { 5.534799e-3, 1.593280e-3, -5.905226e-3 },
        printed);
    expectNear(
        model->displacement(u"N8"_qs, u"C"_qs), { 1.586106e-3, 3.329797e-3, 9.783648e-4 }, printed);
}

// Thirteen cases on one bar, the thirteenth beyond the first block of twelve: each case's load
// (10, 20, ... 130) gives its own elongation.
TEST_F(EndToEnd, ThirteenCases)
{
    QString text = steelRod
        + u"Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\nRod , R1 , A1 , N1 , N2 ,\n"
          "FixNode , S , N1 , YES , YES , YES ,\n"_qs;
    constexpr int caseCount = 13;
    for (int c = 1; c <= caseCount; ++c)
        text += QStringLiteral("Force , F%1 , N2 ,  , %2 , 0 , 0 , 0 , 0 , 0 ,\n"
                               "Case , C%1 , LINEAR_STATIC , S , F%1 ,\n")
                    .arg(c)
                    .arg(10 * c);
    const auto model = solved(text);
    for (int c = 1; c <= caseCount; ++c)
        EXPECT_NEAR(model->displacement(u"N2"_qs, QStringLiteral("C%1").arg(c))[0],
            10.0 * c / 1000.0, 1e-15)
            << "case " << c;
}

// The example cantilever, 10 x 1 x 1 in 10 x 2 x 2 fully integrated Hexas, under a tip load of
// 100: such bricks lock in bending, so its tip sinks less than the Timoshenko beam does,
// PL^3/3EI + PL/kGA, but by no more than a third on this mesh; the two tip edges sink alike.
TEST_F(EndToEnd, HexaCantileverAgainstBeamTheory)
{
    const auto model = solved(exampleModelText(u"hexa-cantilever.vtmodel"_qs));
    const double P = 100.0, L = 10.0, E = 210000.0, nu = 0.3, A = 1.0, I = 1.0 / 12.0;
    const double G = E / (2 * (1 + nu)), shearFactor = 5.0 / 6.0;
    const double beam = P * L * L * L / (3 * E * I) + P * L / (shearFactor * G * A);
    // Nodes at x = 10: the last 9 of the 11 x 3 x 3 grid; N91 and N99 are two corners of the end.
    const double lower = -model->displacement(u"N91"_qs, u"Tip"_qs)[2];
    const double upper = -model->displacement(u"N99"_qs, u"Tip"_qs)[2];
    EXPECT_NEAR(lower, upper, 1e-3 * beam);
    EXPECT_LT(lower, beam);
    EXPECT_GT(lower, 2.0 / 3.0 * beam);
    EXPECT_EQ(model->displacement(u"N1"_qs, u"Tip"_qs), (std::array<double, 3> { 0, 0, 0 }));
}

// A model held nowhere along its plane (set S) fails with the singular-stiffness error naming a
// DOF; the result file carries that text, and the values of the set held (Held) are all numbers.
TEST_F(EndToEnd, ModelWithoutSupportsFailsNamingADegreeOfFreedom)
{
    const auto model = solved(steelRod
        + u"Node , N1 ,  , 0 , 0 , 0 ,\nNode , N2 ,  , 1 , 0 , 0 ,\nNode , N3 ,  , 1 , 1 , 0 ,\n"
          "Rod , R1 , A1 , N1 , N2 ,\nRod , R2 , A1 , N2 , N3 ,\nRod , R3 , A1 , N3 , N1 ,\n"
          "FixNode , S , N1 , NO , NO , NO , YES , YES , YES ,\n"
          "FixNode , Held , N1 , YES , YES , YES ,\nFixNode , Held , N2 , NO , YES , YES ,\n"
          "Force , F , N2 ,  , 1 , 0 , 0 , 0 , 0 , 0 ,\n"
          "Case , C , LINEAR_STATIC , S , F ,\nCase , D , LINEAR_STATIC , Held , F ,\n"_qs);
    const std::optional<QString> failed = model->caseErrorString(u"N2"_qs, u"C"_qs);
    ASSERT_TRUE(failed);
    EXPECT_TRUE(failed->contains(QRegularExpression(u"\\( DOF: N[123]@T[XY] \\)"_qs)))
        << failed->toStdString();
    EXPECT_EQ(model->displacement(u"N2"_qs, u"C"_qs), (std::array<double, 3> { 0, 0, 0 }));
    EXPECT_FALSE(model->caseErrorString(u"N2"_qs, u"D"_qs));
    EXPECT_GT(model->displacement(u"N2"_qs, u"D"_qs)[0], 0.0);

    QFile file(resultPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 0);
    // The doubles of the container's value area (id 7300), if it has one; the record table starts
    // at byte 72, 64 bytes a record: id, value type, offset, length.
    constexpr qsizetype headerBytes = 72, recordBytes = 64, countOffset = 68;
    constexpr quint32 valueAreaId = 7300;
    quint32 recordCount = 0;
    quint64 valueCount = 0;
    std::memcpy(&recordCount, bytes.constData() + countOffset, sizeof recordCount);
    for (quint32 r = 0; r < recordCount; ++r) {
        const char* record = bytes.constData() + headerBytes + r * recordBytes;
        quint32 id = 0;
        quint64 offset = 0, length = 0;
        std::memcpy(&id, record, sizeof id);
        std::memcpy(&offset, record + 8, sizeof offset);
        std::memcpy(&length, record + 16, sizeof length);
        if (id != valueAreaId)
            continue;
        ASSERT_LE(offset + length, quint64(bytes.size()));
        for (quint64 at = offset; at + 8 <= offset + length; at += 8) {
            double value;
            std::memcpy(&value, bytes.constData() + at, sizeof value);
            EXPECT_TRUE(std::isfinite(value)) << "value at byte " << at;
            ++valueCount;
        }
    }
    // The held set's values, at least N2 and N3 in every direction.
    EXPECT_GE(valueCount, 6u);
}

// The example plate, 1 x 1 x 0.05 in 8 x 4 Quads, clamped along x = 0 under an edge load of 10:
// a wide cantilever, its edge sinks between the plate strip's PL^3 (1 - nu^2) / 3EI and the
// beam's PL^3/3EI, a little more for shear, evenly along the loaded edge.
TEST_F(EndToEnd, QuadPlateAgainstBeamAndPlateStrip)
{
    const auto model = solved(exampleModelText(u"quad-plate.vtmodel"_qs));
    const double P = 10.0, L = 1.0, E = 210000.0, nu = 0.3, I = 0.05 * 0.05 * 0.05 / 12.0;
    const double beam = P * L * L * L / (3 * E * I);
    // Nodes at x = 1: N41 .. N45 of the 9 x 5 grid.
    const double edge = -model->displacement(u"N43"_qs, u"Tip"_qs)[2];
    EXPECT_GT(edge, beam * (1 - nu * nu));
    EXPECT_LT(edge, 1.02 * beam);
    EXPECT_NEAR(-model->displacement(u"N41"_qs, u"Tip"_qs)[2], edge, 0.05 * edge);
    EXPECT_EQ(model->displacement(u"N1"_qs, u"Tip"_qs, 1), (std::array<double, 3> { 0, 0, 0 }));
}

// A Hexa bar of 40 x 2 x 2 elements, more than one thread's share of elements: its stiffness is
// made on several threads but put in element order, so its displacements are the same bit for bit
// on one thread and on four.
TEST(EndToEndThreads, HexaBarIsBitwiseTheSameOnOneAndFourThreads)
{
    constexpr int nx = 40, ny = 2, nz = 2;
    auto node = [](int i, int j, int k) { return 1 + (i * (ny + 1) + j) * (nz + 1) + k; };
    QString text = u"Material , M , 210000 , 0.3 ,\nSolidProp , P , M ,\n"
                   "Case , C , LINEAR_STATIC , S , F ,\n"_qs;
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j)
            for (int k = 0; k <= nz; ++k) {
                text += QStringLiteral("Node , N%1 ,  , %2 , %3 , %4 ,\n")
                            .arg(node(i, j, k))
                            .arg(0.25 * i)
                            .arg(0.5 * j)
                            .arg(0.5 * k);
                if (i == 0)
                    text += QStringLiteral("FixNode , S , N%1 , YES , YES , YES ,\n")
                                .arg(node(i, j, k));
            }
    text
        += QStringLiteral("Force , F , N%1 ,  , 0 , 10 , -100 , 0 , 0 , 0 ,\n").arg(node(nx, 0, 0));
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            for (int k = 0; k < nz; ++k)
                text += QStringLiteral("Hexa , H%1 , P , N%2 , N%3 , N%4 , N%5 , N%6 , N%7 , N%8 , "
                                       "N%9 ,\n")
                            .arg((i * ny + j) * nz + k + 1)
                            .arg(node(i, j, k))
                            .arg(node(i + 1, j, k))
                            .arg(node(i + 1, j + 1, k))
                            .arg(node(i, j + 1, k))
                            .arg(node(i, j, k + 1))
                            .arg(node(i + 1, j, k + 1))
                            .arg(node(i + 1, j + 1, k + 1))
                            .arg(node(i, j + 1, k + 1));
    std::vector<std::array<double, 3>> displacements[2];
    for (int run = 0; run < 2; ++run) {
        CalculationTestModel model(text);
        UErrorPtr error;
        ASSERT_TRUE(model.calculate(&error, run == 0 ? 1 : 4))
            << descriptionOf(error).toStdString();
        for (int n = 1; n <= node(nx, ny, nz); ++n)
            displacements[run].push_back(model.displacement(QStringLiteral("N%1").arg(n), u"C"_qs));
    }
    EXPECT_LT(displacements[0].back()[2], 0.0);
    ASSERT_EQ(displacements[0].size(), displacements[1].size());
    EXPECT_EQ(std::memcmp(displacements[0].data(), displacements[1].data(),
                  displacements[0].size() * sizeof(displacements[0][0])),
        0);
}
