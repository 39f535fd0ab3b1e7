// Renders the users' manual (Markdown) to the PDF the program's Help menu opens; run by the build.
#include "documents/application/UFemManualPdf.h"

#include <QFile>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 3) {
        std::fprintf(stderr, "usage: vantrel-manual MANUAL.md MANUAL.pdf\n");
        return 2;
    }
    QFile source(arguments[1]);
    if (!source.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "vantrel-manual: %s\n", qPrintable(source.errorString()));
        return 1;
    }
    QString failureReason;
    if (!UFemWriteManualPdf(QString::fromUtf8(source.readAll()), arguments[2], &failureReason)) {
        std::fprintf(stderr, "vantrel-manual: %s\n", qPrintable(failureReason));
        return 1;
    }
    return 0;
}
