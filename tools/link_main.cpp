// deskhand-link: runs one phone session operation on a real port and prints the outcome as
// JSON. Message boxes and progress go to stderr, boxes are answered OK or Yes.
//
//   deskhand-link [--com N] [--baud B] [--ircomm PORT] COMMAND ...
//
// The data, csv and pim commands run through the document instead of a session. --help lists
// the commands and the members of the JSON files they take.
//
// COM n is $DESKHAND_COM<n> when set, else /dev/ttyS<n-1>. Exit status 0 on success, 1 on
// failure, 128 + the signal when SIGINT, SIGTERM or SIGHUP ended the session.
#include "document/mvsync_doc.h"
#include "link/phone_session.h"
#include "tools/document_command.h"
#include "tools/link_command.h"
#include "tools/record_json.h"
#include "tools/stderr_progress_view.h"
#include "tools/tool_main.h"

#include <QCommandLineParser>
#include <QCoreApplication>

using namespace dh1;

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("deskhand-link"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        CLinkCommand::Usage() + CDocumentCommand::Usage() + RecordFileUsage() + CDocumentCommand::DataFileUsage());
    parser.addHelpOption();
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption comOption(QStringLiteral("com"), QStringLiteral("Cable COM port number (1)."), QStringLiteral("N"));
    const QCommandLineOption baudOption(QStringLiteral("baud"), QStringLiteral("Baud rate (57600)."), QStringLiteral("B"));
    const QCommandLineOption irOption(QStringLiteral("ircomm"), QStringLiteral("Use the infrared link on COM PORT."), QStringLiteral("PORT"));
    parser.addOptions({comOption, baudOption, irOption});
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("read, write, delete, delete-message, data, csv or pim, with its operands."));
    parser.process(app);

    const std::optional<int> com = tools::PositiveNumber(parser, comOption, 1);
    const std::optional<int> baud = tools::PositiveNumber(parser, baudOption, 57600);
    const std::optional<int> ircomm = tools::PositiveNumber(parser, irOption, 0);

    const QStringList args = parser.positionalArguments();
    common::ScopedProgressViewFactory progress([](const common::ProgressRequest&) { return std::make_unique<CStderrProgressView>(); });
    CPhoneSession session;
    CLinkCommand command(session);
    QJsonObject output;
    int terminatedBy = 0;
    if (CDocumentCommand::Handles(args)) {
        CMVsyncDoc doc;
        output = CDocumentCommand(doc).Run(args);
    } else if (!com || !baud || !ircomm) {
        output = command.Run({}); // the shape of a refusal
        output.insert(QStringLiteral("error"), QStringLiteral("--com, --baud and --ircomm take a positive number"));
    } else {
        session.SetPort(*com, *baud, 100);
        if (parser.isSet(irOption))
            command.UseIrComm(*ircomm);
        output = tools::RunUntilTerminated([&] { return command.Run(args); }, &terminatedBy);
    }
    return tools::PrintOutput("deskhand-link", output, terminatedBy);
}
