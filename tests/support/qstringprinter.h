#pragma once

#include <QString>

#include <ostream>

// Test failures show texts as text, not as arrays of 2-byte objects.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
