// deskhand-phonesim: a simulated phone on a pseudo-terminal.
//
//   deskhand-phonesim --dialect 1|2 [--model 1|2|3] --link PATH [--state FILE] [--log FILE]
//                     [--fault SPEC]...
//
// Map a COM port to it with DESKHAND_COM<n>=PATH. Serves until SIGINT or SIGTERM. The phone's
// contents come from the state file when it exists and go back to it after every change.
#include "phonesim/dialect2_state_file.h"
#include "phonesim/fault.h"
#include "phonesim/phone.h"
#include "phonesim/pty_server.h"
#include "phonesim/state_file.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void requestStop(int)
{
    g_stop = 1;
}

void installSignalHandlers()
{
    struct sigaction action {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
}

int fail(const QString& message)
{
    std::fprintf(stderr, "deskhand-phonesim: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("deskhand-phonesim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A simulated phone served on a pseudo-terminal."));
    parser.addHelpOption();
    const QCommandLineOption dialectOption(QStringLiteral("dialect"), QStringLiteral("Phone family (1 or 2)."), QStringLiteral("N"));
    const QCommandLineOption modelOption(QStringLiteral("model"),
        QStringLiteral("Model of the second family: 1 (\"Tondav1\"), 2 (\"Zentra-Corvo v1.04,\", the default) or 3 "
                       "(\"Zentra-Corvo v1.04.S2\"). Its state file is described in phonesim/dialect2_state_file.h."),
        QStringLiteral("N"));
    const QCommandLineOption linkOption(QStringLiteral("link"), QStringLiteral("Path to link the terminal at."), QStringLiteral("PATH"));
    const QCommandLineOption stateOption(QStringLiteral("state"), QStringLiteral("Phone contents: read at start when the file exists, written after every change."), QStringLiteral("FILE"));
    const QCommandLineOption logOption(QStringLiteral("log"), QStringLiteral("Append every command received to FILE."), QStringLiteral("FILE"));
    const QCommandLineOption faultOption(QStringLiteral("fault"),
        QStringLiteral("Inject a fault: KIND[:ARG[:ARG]]@COMMAND (kinds: silence, error, cme:N, cms:N, ext:N, "
                       "reply:TEXT, ring[:MS], split:SIZE[:MS], delay:MS, stream[:MS[:LINE]], close, "
                       "before:TEXT (unsolicited lines first), amid:TEXT (after the answer's first line), latefinal[:MS] (RING, then the final result late), "
                       "lost and lostclose (done, but the answer never comes); COMMAND may end in '*', and "
                       "'>' matches the text typed at the prompt; a full caller group is reply:\\r\\n+CGR ERROR\\r\\n)."),
        QStringLiteral("SPEC"));
    parser.addOptions({dialectOption, modelOption, linkOption, stateOption, logOption, faultOption});
    parser.process(app);

    if (!parser.isSet(dialectOption) || !parser.isSet(linkOption))
        return fail(QStringLiteral("--dialect and --link are required (see --help)"));
    bool ok = false;
    const int dialectNumber = parser.value(dialectOption).toInt(&ok);
    std::unique_ptr<phonesim::Dialect> dialect = ok ? phonesim::MakeDialect(dialectNumber) : nullptr;
    if (!dialect)
        return fail(QStringLiteral("dialect %1 is not available").arg(parser.value(dialectOption)));
    const bool secondFamily = dialectNumber == 2;
    if (parser.isSet(modelOption)) {
        const int model = parser.value(modelOption).toInt(&ok);
        dialect = ok && secondFamily ? phonesim::MakeDialect2(model) : nullptr;
        if (!dialect)
            return fail(QStringLiteral("model %1 is not available in dialect %2").arg(parser.value(modelOption)).arg(dialectNumber));
    }
    const auto load = secondFamily ? phonesim::LoadDialect2StateFile : phonesim::LoadPhoneStateFile;
    const auto save = secondFamily ? phonesim::SaveDialect2StateFile : phonesim::SavePhoneStateFile;

    phonesim::Phone phone(std::move(dialect));
    for (const QString& spec : parser.values(faultOption)) {
        QByteArray pattern;
        phonesim::Fault fault;
        QString error;
        if (!phonesim::ParseFaultSpec(spec, &pattern, &fault, &error))
            return fail(error);
        phone.injectFault(pattern, fault);
    }
    if (parser.isSet(stateOption)) {
        const QString statePath = parser.value(stateOption);
        QString error;
        if (QFileInfo::exists(statePath) && !load(statePath, phone.state(), &error))
            return fail(error);
        phone.setContentsObserver([statePath, save](const phonesim::PhoneState& state) {
            QString error;
            if (!save(statePath, state, &error))
                std::fprintf(stderr, "deskhand-phonesim: cannot save the state: %s\n", error.toLocal8Bit().constData());
        });
    }

    QFile log;
    if (parser.isSet(logOption)) {
        log.setFileName(parser.value(logOption));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
            return fail(QStringLiteral("cannot open the log %1: %2").arg(log.fileName(), log.errorString()));
        phone.setLogObserver([&log](const QByteArray& entry) {
            log.write(phonesim::EscapeBytes(entry) + '\n');
            log.flush();
        });
    }

    installSignalHandlers();
    phonesim::PtyServer server(phone, parser.value(linkOption));
    QString error;
    if (!server.start(&error))
        return fail(error);
    std::fprintf(stderr, "deskhand-phonesim: dialect %d on %s -> %s\n", dialectNumber,
        parser.value(linkOption).toLocal8Bit().constData(), server.slavePath().toLocal8Bit().constData());
    server.run(&g_stop);
    return 0;
}
