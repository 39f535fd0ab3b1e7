#pragma once

#include <QString>

#include <memory>

class QWidget;

// The users' manual in a window of its own, for a desktop that cannot open the PDF: the manual's
// Markdown text, with its pictures, laid out by Qt and read-only.
class UFemManualWindow {
public:
    // Null when the text at `markdownPath` cannot be read.
    static std::unique_ptr<QWidget> makeWindow(const QString& markdownPath);
};
