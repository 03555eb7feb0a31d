#include "tools/tool_main.h"

#include "platform/termination_signals.h"

#include <QJsonDocument>

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

int PrintOutput(const char* tool, const QJsonObject& output, int terminatedBy)
{
    if (output.contains(QLatin1String("error")))
        std::fprintf(stderr, "%s: %s (see --help)\n", tool, output.value(QLatin1String("error")).toString().toLocal8Bit().constData());
    std::fputs(QJsonDocument(output).toJson(QJsonDocument::Indented).constData(), stdout);
    if (terminatedBy)
        return 128 + terminatedBy;
    return output.value(QLatin1String("ok")).toBool() ? 0 : 1;
}

void PrintProgressLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "[progress] %s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

} // namespace tools
