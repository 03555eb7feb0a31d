#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QJsonObject>

#include <cstdio>
#include <functional>
#include <optional>

// What the phone link tools of both programs share around their commands.
namespace tools {

// A positive whole number given with the option, the fallback without it; nothing when it is
// not one.
std::optional<int> PositiveNumber(const QCommandLineParser& parser, const QCommandLineOption& option, int fallback);

// Runs a phone command with SIGINT, SIGTERM and SIGHUP taken as an abort, so that the session
// still sends its closing commands and releases the port. *terminatedBy is the signal that
// came, 0 when none.
QJsonObject RunUntilTerminated(const std::function<QJsonObject()>& command, int* terminatedBy);

// Prints the output as one JSON object on stdout, an "error" or a "warning" in it also as a line
// on stderr, and returns the exit status: 0 when "ok", 128 + the signal that ended the session,
// else 1. An error points to --help when the command line was refused: as `refusedCommandLine`
// says, else while no command had a result and no "file" is to blame.
int PrintOutput(const char* tool, const QJsonObject& output, int terminatedBy,
    std::optional<bool> refusedCommandLine = std::nullopt);

// Why the serial port at `path` does not open at `baud`, found by opening it once more as a
// session does (the line keeps no reason): "no such device", "permission denied", "busy: another
// program holds it", "not a serial port", "the line does not take B baud", or the system's text.
// Empty when it opens now.
QString PortProblem(const QString& path, int baud);

// The error of a session whose port did not open: "cannot use COM n (path)", and why, as
// PortProblem finds it.
QString PortFailureText(int port, int baud);

// The error of a write or delete whose answer never came: the reason, and that the phone may
// have done it (`mayHave`: "carried it out", "stored the message", ...) so the list wants
// reading before another try.
QString UnconfirmedText(const QString& reason, const QString& mayHave);

// Why a file cannot be written at `path` when its folder is to blame: missing, no folder, or
// read-only. Empty otherwise.
QString FolderProblem(const QString& path);

// One progress text as a line of a tool's error stream.
void PrintProgressLine(std::FILE* stream, const QString& text);

} // namespace tools
