#include "documents/application/UFemManualPdf.h"

#include "platform/UFileWriting.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>

namespace {

constexpr double PageMarginMillimetres = 20.0;
constexpr int PdfResolution = 300;
constexpr double BodyPointSize = 10.5;
constexpr char PdfHeader[] = "%PDF-";
constexpr char PdfTrailer[] = "%%EOF";

} // namespace

bool UFemWriteManualPdf(const QString& markdown, const QString& pdfPath, QString* failureReason)
{
    // Laid out in memory and written whole, so that a file the system cuts short is reported
    // rather than left as a manual that ends part-way.
    QByteArray pdf;
    {
        QBuffer buffer(&pdf);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
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
    }
    if (!pdf.startsWith(PdfHeader) || !pdf.trimmed().endsWith(PdfTrailer)) {
        *failureReason = QStringLiteral("The manual could not be laid out as a PDF.");
        return false;
    }
    if (const std::optional<UFileWriteFailure> failure = UWriteFileWhole(pdfPath, pdf)) {
        *failureReason = failure->reason;
        return false;
    }
    return true;
}
