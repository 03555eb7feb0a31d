#pragma once

#include <QDate>
#include <QString>
#include <QTime>

namespace platform {

// strftime of the C locale for the conversions the system uses (%a %A %b %B %c %d %H %I %j
// %m %M %p %S %w %x %X %y %Y %%), with the '#' flag that drops leading zeros ("%#d").
// Unknown conversions are copied as they stand.
QString FormatDateTime(QStringView format, QDate date, QTime time);

} // namespace platform
