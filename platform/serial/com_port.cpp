#include "platform/serial/com_port.h"

#include <QByteArray>

namespace platform {

QString ComPortPath(int port)
{
    if (port < 1)
        return {};
    const QByteArray variable = "DESKHAND_COM" + QByteArray::number(port);
    const QString mapped = qEnvironmentVariable(variable.constData());
    if (!mapped.isEmpty())
        return mapped;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

} // namespace platform
