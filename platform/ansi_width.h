#pragma once

#include <QString>

namespace platform {

// Width of a text as a double-byte code page counts it: 1 for U+0000 to U+00FF, 2 for every
// other character (a surrogate pair is one character).
int ansiWidth(QStringView text);

// The longest prefix of the text whose width is at most n; never splits a surrogate pair.
QString ansiLeft(const QString& text, int n);

} // namespace platform
