#pragma once

#include <QString>

// The users' manual as a PDF: the Markdown text laid out on A4 pages. False with the reason when
// the file cannot be written.
[[nodiscard]] bool UFemWriteManualPdf(
    const QString& markdown, const QString& pdfPath, QString* failureReason);
