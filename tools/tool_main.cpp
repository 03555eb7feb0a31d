#include "tools/tool_main.h"

#include "platform/serial/com_port.h"
#include "platform/serial/serial_port.h"
#include "platform/termination_signals.h"

#include <QFileInfo>
#include <QJsonDocument>

#include <cerrno>
#include <cstdio>

namespace tools {

std::optional<int> PositiveNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int fallback)
{
    if (!parser.isSet(option))
        return fallback;
    bool ok = false;
    const int value = parser.value(option).toInt(&ok);
    return ok && value > 0 ? std::optional<int>(value) : std::nullopt;
}

QJsonObject RunUntilTerminated(const std::function<QJsonObject()>& command, int* terminatedBy)
{
    platform::ScopedTerminationSignals termination;
    const QJsonObject output = command();
    *terminatedBy = platform::TerminationSignal();
    return output;
}

int PrintOutput(const char* tool, const QJsonObject& output, int terminatedBy, std::optional<bool> refusedCommandLine)
{
    if (output.contains(QLatin1String("error"))) {
        // A refusal comes before any command, with no result yet; it may be the command line's.
        // A file that could not be written is no fault of the command line.
        const bool refusal = refusedCommandLine.value_or(
            output.value(QLatin1String("result")).toInt() == 0 && !output.contains(QLatin1String("file")));
        std::fprintf(stderr, "%s: %s%s\n", tool, output.value(QLatin1String("error")).toString().toLocal8Bit().constData(),
            refusal ? " (see --help)" : "");
    }
    if (output.contains(QLatin1String("warning")))
        std::fprintf(stderr, "%s: warning: %s\n", tool, output.value(QLatin1String("warning")).toString().toLocal8Bit().constData());
    std::fputs(QJsonDocument(output).toJson(QJsonDocument::Indented).constData(), stdout);
    if (terminatedBy)
        return 128 + terminatedBy;
    return output.value(QLatin1String("ok")).toBool() ? 0 : 1;
}

QString PortProblem(const QString& path, int baud)
{
    platform::SerialPort port;
    if (!port.open(path)) {
        switch (port.lastError()) {
        case ENOENT:
        case ENODEV:
        case ENXIO: return QStringLiteral("no such device");
        case EACCES:
        case EPERM: return QStringLiteral("permission denied");
        case EBUSY:
        case EWOULDBLOCK: return QStringLiteral("busy: another program holds it");
        case ENOTTY: return QStringLiteral("not a serial port");
        default: return qt_error_string(port.lastError());
        }
    }
    platform::SerialSettings settings;
    settings.baud = baud;
    if (!port.configure(settings))
        return QStringLiteral("the line does not take %1 baud").arg(baud);
    return {};
}

QString PortFailureText(int port, int baud)
{
    const QString path = platform::ComPortPath(port);
    const QString why = PortProblem(path, baud);
    return QStringLiteral("cannot use COM %1 (%2)").arg(port).arg(path) + (why.isEmpty() ? QString() : ": " + why);
}

QString UnconfirmedText(const QString& reason, const QString& mayHave)
{
    return reason + QStringLiteral(" after the command went out: the phone may have %1; read the list again before trying again").arg(mayHave);
}

QString FolderProblem(const QString& path)
{
    const QFileInfo folder(QFileInfo(path).absolutePath());
    if (!folder.exists())
        return QStringLiteral("the folder %1 does not exist").arg(folder.filePath());
    if (!folder.isDir())
        return QStringLiteral("%1 is no folder").arg(folder.filePath());
    if (!folder.isWritable())
        return QStringLiteral("the folder %1 is read-only").arg(folder.filePath());
    return {};
}

void PrintProgressLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "[progress] %s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

} // namespace tools
