// tarvo-cli: the presence test, programming and reading all texts without a
// window, for scripts. The same operations, exchange, readers and writer as
// the window; the outcome is a line of text and the exit status.
#include "cli/CliRequest.h"
#include "cli/CommandLineHost.h"
#include "core/Variabili.h"
#include "device/PresenceTest.h"
#include "device/ProgrammaTesti.h"
#include "device/ReadAllTexts.h"
#include "serial/SerialExchange.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

enum ExitStatus { Succeeded = 0, UnitFailed = 1, WrongUsage = 2 };

void say(std::FILE* out, const QString& line) {
    std::fprintf(out, "%s\n", line.toLocal8Bit().constData());
}

// Qt's own notes are not for the user of a script: only its errors pass.
void keepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg || type == QtCriticalMsg)
        say(stderr, message);
}

int fail(const QString& why) {
    say(stderr, QStringLiteral("tarvo-cli: ") + why);
    return WrongUsage;
}

// The texts the window would show on its acknowledgement button and status
// boxes when the run stopped, in one line.
QString failureLine(const CommandLineHost& host) {
    if (host.error().isEmpty())
        return host.outcome();
    return QStringLiteral("%1 (inviato: «%2»; stato: «%3»)")
        .arg(host.error().trimmed(), host.sending(), host.outcome());
}

OperationResult run(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                    CommandLineHost& host) {
    switch (request.action) {
    case CliRequest::Action::PresenceTest:
        return runPresenceTest(v, exchange, host);
    case CliRequest::Action::Program:
        v.FileSelezionato = QFile::encodeName(request.file);
        return ProgrammaTesti(v, exchange, host);
    case CliRequest::Action::ReadAll:
        return readAllTexts(v, exchange, host);
    case CliRequest::Action::Help:
    case CliRequest::Action::Version:
        break;
    }
    return OperationResult::CannotStart;
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(keepQtQuiet);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo-cli"));

    const CliRequest request = CliRequest::parse(QCoreApplication::arguments());
    if (!request.error.isEmpty())
        return fail(request.error + QStringLiteral(". Vedi tarvo-cli --help"));
    if (request.action == CliRequest::Action::Help) {
        std::fputs(CliRequest::helpText().toLocal8Bit().constData(), stdout);
        return Succeeded;
    }
    if (request.action == CliRequest::Action::Version) {
        say(stdout, QStringLiteral("tarvo-cli " TARVO_VERSION));
        return Succeeded;
    }

    Variabili v;
    v.Identificativo = request.identifier;
    v.PortaCom = request.port;
    SerialExchange exchange(v);
    CommandLineHost host(v, request.file, request.comment, stderr);
    const OperationResult result = run(request, v, exchange, host);
    host.endProgress();

    switch (result) {
    case OperationResult::Succeeded:
        if (!host.saveError().isEmpty())
            return fail(host.saveError());
        say(stdout, host.saved()
                        ? QStringLiteral("%1: salvati in %2").arg(host.outcome(), request.file)
                        : host.outcome());
        return Succeeded;
    case OperationResult::CannotStart:
        return fail(failureLine(host));
    case OperationResult::UnitFailed:
        say(stderr, QStringLiteral("tarvo-cli: ") + failureLine(host));
        return UnitFailed;
    }
    return UnitFailed;
}
