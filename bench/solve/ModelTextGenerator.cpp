#include "ModelTextGenerator.h"

#include <QStringList>

#include <vector>

namespace {

constexpr double youngsModulus = 210000.0;
constexpr double poissonsRatio = 0.3;
constexpr double shearModulus = youngsModulus / (2.0 * (1.0 + poissonsRatio));
constexpr double rectangleShearFactor = 5.0 / 6.0;
constexpr int significantDigits = 12;
constexpr int statedDigits = 4;
constexpr int directionCount = 6;
constexpr unsigned translations = 0b000111U;
constexpr unsigned allDirections = 0b111111U;
constexpr unsigned rotationAboutX = 0b001000U;

QString number(double value)
{
    return QString::number(value, 'g', significantDigits);
}

class ModelTextWriter {
public:
    void line(const QStringList& columns)
    {
        text_ += columns.join(QStringLiteral(" , ")) + QStringLiteral(" ,\n");
    }
    void node(qsizetype id, double x, double y, double z)
    {
        line({ QStringLiteral("Node"), nodeName(id), QString(), number(x), number(y), number(z) });
    }
    void element(const QString& label, const QString& name, const std::vector<qsizetype>& nodes)
    {
        QStringList columns { label, name, QStringLiteral("P") };
        for (const qsizetype id : nodes)
            columns.append(nodeName(id));
        line(columns);
    }
    // Held directions TX TY TZ RX RY RZ, a bit each from TX up.
    void fix(qsizetype id, unsigned held)
    {
        QStringList columns { QStringLiteral("FixNode"), QStringLiteral("Fix"), nodeName(id) };
        for (int d = 0; d < directionCount; ++d)
            columns.append((held >> d) & 1U ? QStringLiteral("YES") : QStringLiteral("NO"));
        line(columns);
    }
    void force(qsizetype id, double fx, double fy, double fz)
    {
        line({ QStringLiteral("Force"), QStringLiteral("Load"), nodeName(id), QString(), number(fx),
            number(fy), number(fz), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("0") });
    }
    void comment(const QString& text)
    {
        text_ += QStringLiteral("\\ ") + text + QStringLiteral("\n");
    }
    void header(const QStringList& comments, const QStringList& property)
    {
        for (const QString& text : comments)
            comment(text);
        line({ QStringLiteral("Material"), QStringLiteral("Steel"), number(youngsModulus),
            number(poissonsRatio) });
        line(property);
        line({ QStringLiteral("Case"), QStringLiteral("Tip"), QStringLiteral("LINEAR_STATIC"),
            QStringLiteral("Fix"), QStringLiteral("Load") });
    }
    QString text() const { return text_; }

private:
    static QString nodeName(qsizetype id) { return QStringLiteral("N%1").arg(id + 1); }
    QString text_;
};

} // namespace

namespace {

constexpr double cantileverLength = 10.0;
constexpr double cantileverLoad = 100.0;

// The cantilever's grid: nodes numbered x slowest, then y, then z (from 0), element corners in
// Hexa (and C3D8) order; `visit` is called for nodes, elements and the end faces in turn.
struct CantileverGrid {
    int nx, ny, nz;

    qsizetype id(int i, int j, int k) const { return (qsizetype(i) * (ny + 1) + j) * (nz + 1) + k; }
    template <typename Visit> void nodes(Visit visit) const
    {
        for (int i = 0; i <= nx; ++i)
            for (int j = 0; j <= ny; ++j)
                for (int k = 0; k <= nz; ++k)
                    visit(id(i, j, k), cantileverLength * i / nx, double(j) / ny, double(k) / nz);
    }
    template <typename Visit> void elements(Visit visit) const
    {
        qsizetype element = 0;
        for (int i = 0; i < nx; ++i)
            for (int j = 0; j < ny; ++j)
                for (int k = 0; k < nz; ++k)
                    visit(++element,
                        std::vector<qsizetype> { id(i, j, k), id(i + 1, j, k), id(i + 1, j + 1, k),
                            id(i, j + 1, k), id(i, j, k + 1), id(i + 1, j, k + 1),
                            id(i + 1, j + 1, k + 1), id(i, j + 1, k + 1) });
    }
    // Fixed (x = 0) and loaded (x = length) node pairs, face by face.
    template <typename Visit> void ends(Visit visit) const
    {
        for (int j = 0; j <= ny; ++j)
            for (int k = 0; k <= nz; ++k)
                visit(id(0, j, k), id(nx, j, k));
    }
    double tipShare() const { return -cantileverLoad / double((ny + 1) * (nz + 1)); }
};

} // namespace

QString hexaCantileverModelText(int nx, int ny, int nz)
{
    constexpr double area = 1.0;
    constexpr double inertia = 1.0 / 12.0;
    constexpr double length = cantileverLength;
    constexpr double load = cantileverLoad;
    const double bending = load * length * length * length / (3.0 * youngsModulus * inertia);
    const double shear = load * length / (rectangleShearFactor * shearModulus * area);
    ModelTextWriter writer;
    writer.header({ QStringLiteral("Hexa cantilever %1 x %2 x %3").arg(nx).arg(ny).arg(nz),
                      QStringLiteral("10 x 1 x 1, fixed at x = 0, %1 down at x = 10. Tip "
                                     "deflection PL^3/3EI + PL/kGA (k = 5/6) = %2 + %3 = %4")
                          .arg(load)
                          .arg(bending, 0, 'g', statedDigits)
                          .arg(shear, 0, 'g', statedDigits)
                          .arg(bending + shear, 0, 'g', statedDigits),
                      QStringLiteral("Fully integrated Hexas are stiff in bending: a fine mesh "
                                     "comes a few per cent short of it, a coarse one far short.") },
        { QStringLiteral("SolidProp"), QStringLiteral("P"), QStringLiteral("Steel") });
    const CantileverGrid grid { nx, ny, nz };
    grid.nodes([&](qsizetype id, double x, double y, double z) { writer.node(id, x, y, z); });
    grid.elements([&](qsizetype element, const std::vector<qsizetype>& corners) {
        writer.element(QStringLiteral("Hexa"), QStringLiteral("H%1").arg(element), corners);
    });
    grid.ends([&](qsizetype fixed, qsizetype loaded) {
        writer.fix(fixed, translations);
        writer.force(loaded, 0.0, 0.0, grid.tipShare());
    });
    return writer.text();
}

QString hexaCantileverCcxDeck(int nx, int ny, int nz)
{
    const CantileverGrid grid { nx, ny, nz };
    QString deck;
    auto line = [&](const QStringList& columns) {
        deck += columns.join(QStringLiteral(", ")) + QLatin1Char('\n');
    };
    line({ QStringLiteral("*HEADING") });
    line({ QStringLiteral("Hexa cantilever %1 x %2 x %3").arg(nx).arg(ny).arg(nz) });
    line({ QStringLiteral("*NODE"), QStringLiteral("NSET=NALL") });
    grid.nodes([&](qsizetype id, double x, double y, double z) {
        line({ QString::number(id + 1), number(x), number(y), number(z) });
    });
    line({ QStringLiteral("*ELEMENT"), QStringLiteral("TYPE=C3D8"), QStringLiteral("ELSET=EALL") });
    grid.elements([&](qsizetype element, const std::vector<qsizetype>& corners) {
        QStringList columns { QString::number(element) };
        for (const qsizetype id : corners)
            columns.append(QString::number(id + 1));
        line(columns);
    });
    line({ QStringLiteral("*NSET"), QStringLiteral("NSET=FIX") });
    grid.ends([&](qsizetype fixed, qsizetype) { line({ QString::number(fixed + 1) }); });
    line({ QStringLiteral("*NSET"), QStringLiteral("NSET=TIP") });
    grid.ends([&](qsizetype, qsizetype loaded) { line({ QString::number(loaded + 1) }); });
    line({ QStringLiteral("*MATERIAL"), QStringLiteral("NAME=STEEL") });
    line({ QStringLiteral("*ELASTIC") });
    line({ number(youngsModulus), number(poissonsRatio) });
    line({ QStringLiteral("*SOLID SECTION"), QStringLiteral("ELSET=EALL"),
        QStringLiteral("MATERIAL=STEEL") });
    line({ QStringLiteral("*BOUNDARY") });
    line({ QStringLiteral("FIX"), QStringLiteral("1"), QStringLiteral("3") });
    line({ QStringLiteral("*STEP") });
    line({ QStringLiteral("*STATIC"), QStringLiteral("SOLVER=SPOOLES") });
    line({ QStringLiteral("*CLOAD") });
    grid.ends([&](qsizetype, qsizetype loaded) {
        line({ QString::number(loaded + 1), QStringLiteral("3"), number(grid.tipShare()) });
    });
    line({ QStringLiteral("*NODE PRINT"), QStringLiteral("NSET=TIP") });
    line({ QStringLiteral("U") });
    line({ QStringLiteral("*END STEP") });
    return deck;
}

QString quadPlateModelText(int nx, int ny)
{
    constexpr double thickness = 0.05;
    constexpr double load = 10.0;
    const double rigidity = youngsModulus * thickness * thickness * thickness
        / (12.0 * (1.0 - poissonsRatio * poissonsRatio));
    const double edge = load / (3.0 * rigidity);
    ModelTextWriter writer;
    writer.header({ QStringLiteral("Quad plate %1 x %2").arg(nx).arg(ny),
                      QStringLiteral("A 1 wide strip of a wide plate 1 long, %1 thick: clamped at "
                                     "x = 0, RX held along the cut edges y = 0 and 1, %2 down "
                                     "along x = 1. Edge deflection PL^3/3D = %3")
                          .arg(thickness)
                          .arg(load)
                          .arg(edge, 0, 'g', statedDigits) },
        { QStringLiteral("ShellProp"), QStringLiteral("P"), QStringLiteral("Steel"),
            number(thickness) });
    const auto id = [&](int i, int j) { return qsizetype(i) * (ny + 1) + j; };
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j)
            writer.node(id(i, j), double(i) / nx, double(j) / ny, 0.0);
    qsizetype element = 0;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            writer.element(QStringLiteral("Quad"), QStringLiteral("Q%1").arg(++element),
                { id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1) });
    const double share = -load / double(ny + 1);
    for (int j = 0; j <= ny; ++j) {
        writer.fix(id(0, j), allDirections);
        writer.force(id(nx, j), 0.0, 0.0, share);
    }
    // Symmetry with the plate's neighbouring strips: the cut edges do not turn about x.
    for (int i = 1; i <= nx; ++i)
        for (const int j : { 0, ny })
            writer.fix(id(i, j), rotationAboutX);
    return writer.text();
}

QString rodLatticeModelText(int nx, int ny, int nz)
{
    ModelTextWriter writer;
    writer.header({ QStringLiteral("Rod lattice %1 x %2 x %3").arg(nx).arg(ny).arg(nz) },
        { QStringLiteral("RodProp"), QStringLiteral("P"), QStringLiteral("Steel"),
            QStringLiteral("0.01") });
    const auto id = [&](int i, int j, int k) { return (qsizetype(k) * ny + j) * nx + i; };
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i)
                writer.node(id(i, j, k), i, j, k);
    qsizetype element = 0;
    const auto rod = [&](qsizetype a, qsizetype b) {
        writer.element(QStringLiteral("Rod"), QStringLiteral("R%1").arg(++element), { a, b });
    };
    for (int k = 0; k < nz; ++k)
        for (int j = 0; j < ny; ++j)
            for (int i = 0; i < nx; ++i) {
                const qsizetype n = id(i, j, k);
                if (i + 1 < nx)
                    rod(n, id(i + 1, j, k));
                if (j + 1 < ny)
                    rod(n, id(i, j + 1, k));
                if (k + 1 < nz)
                    rod(n, id(i, j, k + 1));
                if (i + 1 < nx && j + 1 < ny)
                    rod(n, id(i + 1, j + 1, k));
                if (i + 1 < nx && k + 1 < nz)
                    rod(n, id(i + 1, j, k + 1));
                if (j + 1 < ny && k + 1 < nz)
                    rod(n, id(i, j + 1, k + 1));
            }
    const double share = 1000.0 / double(nx * ny);
    for (int j = 0; j < ny; ++j)
        for (int i = 0; i < nx; ++i) {
            writer.fix(id(i, j, 0), translations);
            writer.force(id(i, j, nz - 1), share, 0.0, 0.0);
        }
    return writer.text();
}
