#pragma once

#include <QString>

#include <ostream>

// Shows texts in test failures as text.
inline void PrintTo(const QString& text, std::ostream* stream)
{
    *stream << '"' << text.toStdString() << '"';
}
