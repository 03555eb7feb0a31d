#pragma once

#include <QString>

namespace platform {

// The device of COM port n: $DESKHAND_COM<n> when set, else /dev/ttyS<n-1>. Empty for n < 1.
QString ComPortPath(int port);

} // namespace platform
