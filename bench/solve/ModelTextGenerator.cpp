#include "ModelTextGenerator.h"

#include <QStringList>

#include <vector>

namespace {

constexpr double youngsModulus = 210000.0;
constexpr double poissonsRatio = 0.3;
constexpr int significantDigits = 12;

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
    void fix(qsizetype id, bool rotations)
    {
        const QString yes = QStringLiteral("YES");
        const QString r = rotations ? yes : QStringLiteral("NO");
        line({ QStringLiteral("FixNode"), QStringLiteral("Fix"), nodeName(id), yes, yes, yes, r, r,
            r });
    }
    void force(qsizetype id, double fx, double fy, double fz)
    {
        line({ QStringLiteral("Force"), QStringLiteral("Load"), nodeName(id), QString(), number(fx),
            number(fy), number(fz), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("0") });
    }
    void header(const QString& comment, const QStringList& property)
    {
        text_ += QStringLiteral("\\ ") + comment + QStringLiteral("\n");
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

QString hexaCantileverModelText(int nx, int ny, int nz)
{
    constexpr double length = 10.0;
    ModelTextWriter writer;
    writer.header(QStringLiteral("Hexa cantilever %1 x %2 x %3").arg(nx).arg(ny).arg(nz),
        { QStringLiteral("SolidProp"), QStringLiteral("P"), QStringLiteral("Steel") });
    const auto id
        = [&](int i, int j, int k) { return (qsizetype(i) * (ny + 1) + j) * (nz + 1) + k; };
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j)
            for (int k = 0; k <= nz; ++k)
                writer.node(id(i, j, k), length * i / nx, double(j) / ny, double(k) / nz);
    qsizetype element = 0;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            for (int k = 0; k < nz; ++k)
                writer.element(QStringLiteral("Hexa"), QStringLiteral("H%1").arg(++element),
                    { id(i, j, k), id(i + 1, j, k), id(i + 1, j + 1, k), id(i, j + 1, k),
                        id(i, j, k + 1), id(i + 1, j, k + 1), id(i + 1, j + 1, k + 1),
                        id(i, j + 1, k + 1) });
    const double share = -100.0 / double((ny + 1) * (nz + 1));
    for (int j = 0; j <= ny; ++j)
        for (int k = 0; k <= nz; ++k) {
            writer.fix(id(0, j, k), false);
            writer.force(id(nx, j, k), 0.0, 0.0, share);
        }
    return writer.text();
}

QString quadPlateModelText(int nx, int ny)
{
    ModelTextWriter writer;
    writer.header(QStringLiteral("Quad plate %1 x %2").arg(nx).arg(ny),
        { QStringLiteral("ShellProp"), QStringLiteral("P"), QStringLiteral("Steel"),
            QStringLiteral("0.05") });
    const auto id = [&](int i, int j) { return qsizetype(i) * (ny + 1) + j; };
    for (int i = 0; i <= nx; ++i)
        for (int j = 0; j <= ny; ++j)
            writer.node(id(i, j), double(i) / nx, double(j) / ny, 0.0);
    qsizetype element = 0;
    for (int i = 0; i < nx; ++i)
        for (int j = 0; j < ny; ++j)
            writer.element(QStringLiteral("Quad"), QStringLiteral("Q%1").arg(++element),
                { id(i, j), id(i + 1, j), id(i + 1, j + 1), id(i, j + 1) });
    const double share = -10.0 / double(ny + 1);
    for (int j = 0; j <= ny; ++j) {
        writer.fix(id(0, j), true);
        writer.force(id(nx, j), 0.0, 0.0, share);
    }
    return writer.text();
}

QString rodLatticeModelText(int nx, int ny, int nz)
{
    ModelTextWriter writer;
    writer.header(QStringLiteral("Rod lattice %1 x %2 x %3").arg(nx).arg(ny).arg(nz),
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
            writer.fix(id(i, j, 0), false);
            writer.force(id(i, j, nz - 1), share, 0.0, 0.0);
        }
    return writer.text();
}
