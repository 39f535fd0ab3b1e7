#include "documents/application/UFemManualPdf.h"

#include <QFile>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

constexpr double PageMarginMillimetres = 20.0;
constexpr int PdfResolution = 300;
constexpr double BodyPointSize = 10.5;

} // namespace

bool UFemWriteManualPdf(const QString& markdown, const QString& pdfPath, QString* failureReason)
{
    QFile probe(pdfPath);
    if (!probe.open(QIODevice::WriteOnly)) {
        *failureReason = probe.errorString();
        return false;
    }
    probe.close();
    QPdfWriter writer(pdfPath);
    writer.setTitle(QStringLiteral("Vantrel Users Manual"));
    writer.setCreator(QStringLiteral("Vantrel"));
    writer.setResolution(PdfResolution);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(PageMarginMillimetres, PageMarginMillimetres, PageMarginMillimetres,
            PageMarginMillimetres),
        QPageLayout::Millimeter));
    QTextDocument document;
    QFont body = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    body.setPointSizeF(BodyPointSize);
    document.setDefaultFont(body);
    document.setMarkdown(markdown);
    document.print(&writer);
    return true;
}
