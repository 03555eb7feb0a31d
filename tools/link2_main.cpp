// deskhand2-link: runs one phone operation of the second family on a real port and prints the
// outcome as JSON. Message boxes and progress go to stderr, boxes are answered OK or Yes.
//
//   deskhand2-link [--com N] [--baud B] COMMAND ...
//
// The data, csv and pim commands run through the document instead of a session. --help lists
// the commands and the members of the JSON files they take.
//
// COM n is $DESKHAND_COM<n> when set, else /dev/ttyS<n-1>. Exit status 0 on success, 1 on
// failure, 128 + the signal when SIGINT, SIGTERM or SIGHUP ended the session.
#include "document2/mvsync_doc.h"
#include "link2/phone_session.h"
#include "tools/document2_command.h"
#include "tools/document_tool.h"
#include "tools/link2_command.h"
#include "tools/link2_json.h"
#include "tools/stderr_progress_view.h"
#include "tools/tool_main.h"

#include <QCommandLineParser>
#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("deskhand2-link"));

    QCommandLineParser parser;
    parser.setApplicationDescription(dh2::CLinkCommand::Usage() + tools::DocumentCommandUsage() + dh2::RecordFileUsage()
        + dh2::CDocumentCommand::DataFileUsage());
    parser.addHelpOption();
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption comOption(QStringLiteral("com"), QStringLiteral("COM port number (1)."), QStringLiteral("N"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (19200)."), QStringLiteral("B"));
    parser.addOptions({comOption, baudOption});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("identify, read, write, delete, store-message, send-stored, delete-message, decode-pdu, data, csv or pim, with its operands."));
    parser.process(app);

    const std::optional<int> com = tools::PositiveNumber(parser, comOption, 1);
    const std::optional<int> baud = tools::PositiveNumber(parser, baudOption, 19200);
    common::ScopedProgressViewFactory progress([](const common::ProgressRequest&) { return std::make_unique<CStderrProgressView>(); });
    dh2::CPhoneSession session;
    dh2::CLinkCommand command(session);
    QJsonObject output;
    int terminatedBy = 0;
    const QStringList args = parser.positionalArguments();
    std::optional<bool> refusedCommandLine; // a document command's output says it itself
    if (tools::IsDocumentCommand(args)) {
        dh2::CMVsyncDoc doc;
        output = dh2::CDocumentCommand(doc).Run(args);
    } else if (!com || !baud) {
        output = command.Run({}); // the shape of a refusal
        output.insert(QStringLiteral("error"), QStringLiteral("--com and --baud take a positive number"));
        refusedCommandLine = true;
    } else {
        session.m_port.m_nPort = *com;
        session.m_port.m_nBaud = *baud;
        output = tools::RunUntilTerminated([&] { return command.Run(args); }, &terminatedBy);
        refusedCommandLine = command.RefusedCommandLine();
    }
    return tools::PrintOutput("deskhand2-link", output, terminatedBy, refusedCommandLine);
}
