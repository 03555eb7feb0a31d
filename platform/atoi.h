#pragma once

#include <QByteArray>
#include <QString>

namespace platform {

// The C library's atoi as the system relies on it: leading blanks, an optional sign, digits up
// to the first non-digit; 0 when there are none. Values beyond int are clamped, never undefined.
int Atoi(QStringView text);
int Atoi(const QByteArray& text);

} // namespace platform
