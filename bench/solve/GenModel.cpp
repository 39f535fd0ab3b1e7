// gen-model: writes the model text of a regular mesh.
//   gen-model hexa NX NY NZ [-o FILE]    Hexa cantilever
//   gen-model ccx hexa NX NY NZ [-o FILE]  the same cantilever as a ccx input deck
//   gen-model quad NX NY [-o FILE]       Quad plate
//   gen-model rods NX NY NZ [-o FILE]    Rod lattice (nodes per direction)

#include "ModelTextGenerator.h"
#include "platform/UFileWriting.h"
#include "platform/UStackReserve.h"

#include <QCoreApplication>
#include <QStringList>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <new>
#include <optional>

namespace {

constexpr int largestCount = 100000;

int usage()
{
    std::fprintf(stderr,
        "usage: gen-model hexa NX NY NZ [-o FILE]\n"
        "       gen-model ccx hexa NX NY NZ [-o FILE]\n"
        "       gen-model quad NX NY [-o FILE]\n"
        "       gen-model rods NX NY NZ [-o FILE]\n");
    return 2;
}

// Writes the whole text or nothing; the reason of a failure, or nothing.
std::optional<QString> write(const QString& text, const QString& path)
{
    const QByteArray bytes = text.toUtf8();
    if (!path.isEmpty()) {
        if (const std::optional<UFileWriteFailure> failure = UWriteFileWhole(path, bytes))
            return failure->reason;
        return std::nullopt;
    }
    // Buffered output fails at the flush, not at the write.
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout) != size_t(bytes.size())
        || std::fflush(stdout) != 0)
        return QString::fromLocal8Bit(std::strerror(errno));
    return std::nullopt;
}

int generate(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments().mid(1);
    QString outputPath;
    if (const qsizetype o = arguments.indexOf(QStringLiteral("-o")); o >= 0) {
        if (o + 1 >= arguments.size())
            return usage();
        outputPath = arguments[o + 1];
        arguments.remove(o, 2);
    }
    if (arguments.isEmpty())
        return usage();
    QString kind = arguments.takeFirst();
    const bool ccx = kind == QStringLiteral("ccx") && !arguments.isEmpty();
    if (ccx)
        kind = arguments.takeFirst();
    std::vector<int> counts;
    for (const QString& argument : arguments) {
        bool ok = false;
        const int count = argument.toInt(&ok);
        if (!ok || count < 1 || count > largestCount)
            return usage();
        counts.push_back(count);
    }
    QString text;
    if (ccx && kind == QStringLiteral("hexa") && counts.size() == 3)
        text = hexaCantileverCcxDeck(counts[0], counts[1], counts[2]);
    else if (ccx)
        return usage();
    else if (kind == QStringLiteral("hexa") && counts.size() == 3)
        text = hexaCantileverModelText(counts[0], counts[1], counts[2]);
    else if (kind == QStringLiteral("quad") && counts.size() == 2)
        text = quadPlateModelText(counts[0], counts[1]);
    else if (kind == QStringLiteral("rods") && counts.size() == 3 && counts[2] >= 2)
        text = rodLatticeModelText(counts[0], counts[1], counts[2]);
    else
        return usage();
    if (const std::optional<QString> failure = write(text, outputPath)) {
        std::fprintf(stderr, "gen-model: cannot write %s: %s\n",
            qPrintable(outputPath.isEmpty() ? QStringLiteral("the standard output") : outputPath),
            qPrintable(*failure));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    UReserveStack(UMainThreadStackReserve);
    try {
        return generate(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fputs("gen-model: Memory allocation failed.\n", stderr);
        return 1;
    }
}
