// tarvo-cli: the presence test, programming and reading all texts without a
// window, for scripts. The same operations, exchange, readers and writer as
// the window; the outcome is a line of text and the exit status.
#include "cli/CliRequest.h"
#include "cli/CliTextOperations.h"
#include "cli/CommandLineHost.h"
#include "cli/DiagnosisReport.h"
#include "cli/FailureLine.h"
#include "cli/StopReport.h"
#include "cli/Terminal.h"
#include "core/QtItalian.h"
#include "core/StopSignals.h"
#include "core/Variabili.h"
#include "device/PresenceTest.h"
#include "device/ProgrammaTesti.h"
#include "device/ReadAllTexts.h"
#include "files/LocalFileName.h"
#include "files/SaveTarget.h"
#include "serial/SerialExchange.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

enum ExitStatus { Succeeded = 0, UnitFailed = 1, WrongUsage = 2 };

void say(std::FILE* out, const QString& line) {
    writeText(out, line + QLatin1Char('\n'));
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

// What the run found beside its own texts (another program holding the
// port), on a line of its own after them.
void sayNote(const SerialExchange& exchange) {
    if (exchange.replyTakers().happened())
        say(stderr, QStringLiteral("tarvo-cli: nota: ") + exchange.replyTakers().text);
}

// What can be known wrong with the target of leggi before the port opens;
// empty when nothing is. The operations that send or compare a file check it,
// and a copy's target, themselves before their first frame.
QString checkBeforeOpening(const CliRequest& request) {
    if (request.action == CliRequest::Action::ReadAll)
        return saveTargetProblem(request.file, request.comment);
    return {};
}

OperationOutcome run(const CliRequest& request, Variabili& v, SerialExchange& exchange,
                     CommandLineHost& host, CliReport& report) {
    switch (request.action) {
    case CliRequest::Action::PresenceTest:
        return runPresenceTest(v, exchange, host);
    case CliRequest::Action::Program:
        if (request.onlyDiffering || !request.copyFile.isEmpty() || request.autoCopy)
            return sendWithCopyOrOnlyDiffering(request, v, exchange, host, report);
        return ProgrammaTesti(v, exchange, host, request.file);
    case CliRequest::Action::Compare:
        return compareForCli(request, v, exchange, host, report);
    case CliRequest::Action::ReadAll:
        return readAllTexts(v, exchange, host);
    case CliRequest::Action::Restore:
        return restoreForCli(request, v, exchange, host, report);
    case CliRequest::Action::Diagnosis:
    case CliRequest::Action::ListCopies:
    case CliRequest::Action::Help:
    case CliRequest::Action::Version:
        break;
    }
    return {OperationOutcome::Ending::CannotStart, {}, {}, {}};
}

} // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(keepQtQuiet);
    QCoreApplication app(argc, argv);
    installQtItalian(app);
    QCoreApplication::setApplicationName(QStringLiteral("tarvo-cli"));

    const CliRequest request = CliRequest::parse(programArguments(argc, argv));
    if (!request.error.isEmpty())
        return fail(request.error + QStringLiteral(". Vedi tarvo-cli --help"));
    if (request.action == CliRequest::Action::Help) {
        writeText(stdout, CliRequest::helpText());
        return Succeeded;
    }
    if (request.action == CliRequest::Action::Version) {
        say(stdout, QStringLiteral("tarvo-cli " TARVO_VERSION));
        return Succeeded;
    }
    if (request.action == CliRequest::Action::ListCopies) {
        const QStringList lines = copyListLines(request);
        for (const QString& line : lines)
            say(stdout, line);
        if (lines.isEmpty())
            say(stderr, QStringLiteral("tarvo-cli: ") + noCopiesLine(request));
        return Succeeded;
    }

    Variabili v;
    const StopSignals stop(v);
    if (const QString problem = checkBeforeOpening(request); !problem.isEmpty())
        return fail(problem);
    v.Identificativo = request.identifier;
    v.PortaCom = request.port;
    const bool targetExisted = LocalFileName::status(request.file).exists;
    SerialExchange exchange(v);
    exchange.setLineEchoes(request.lineEchoes);
    if (request.action == CliRequest::Action::Diagnosis) {
        const LineFinding finding = diagnoseForCli(v, exchange, request.moreIdentifiers, stdout);
        if (stop.received() != 0 && finding.kind == LineFinding::Kind::Interrupted) {
            say(stderr, QStringLiteral("tarvo-cli: diagnosi interrotta da %1; porta chiusa.")
                            .arg(StopSignals::name(stop.received())));
            return 128 + stop.received();
        }
        const int status = exitStatusOf(finding);
        if (status == WrongUsage)
            return fail(finding.describe());
        say(stdout, finding.describe());
        return status;
    }
    CommandLineHost host(v, request.file, request.comment, stderr);
    CliReport report;
    const OperationOutcome outcome = run(request, v, exchange, host, report);
    host.endProgress();
    for (const QString& line : std::as_const(report.lines))
        say(stdout, line);

    // A run that a signal cut short says where it stopped, with the status
    // shells give a program ended by that signal. The port is closed by now.
    if (outcome.ending == OperationOutcome::Ending::Stopped && stop.received() != 0) {
        say(stderr, QStringLiteral("tarvo-cli: ") +
                        withRetry(stopReport(stop.received(), request.action, outcome.lastExchanged,
                                             targetExisted),
                                  report));
        return 128 + stop.received();
    }

    switch (outcome.ending) {
    case OperationOutcome::Ending::Done:
        if (!host.saveError().isEmpty())
            return fail(host.saveError());
        say(stdout, host.saved() ? QStringLiteral("%1: salvati in %2")
                                       .arg(host.outcome(), LocalFileName::readable(request.file))
                                 : host.outcome());
        return report.differs ? UnitFailed : Succeeded;
    case OperationOutcome::Ending::CannotStart:
        fail(withRetry(failureLine(host), report));
        sayNote(exchange);
        return WrongUsage;
    case OperationOutcome::Ending::Failed:
    case OperationOutcome::Ending::Stopped:
        say(stderr, QStringLiteral("tarvo-cli: ") + withRetry(failureLine(host), report));
        sayNote(exchange);
        return UnitFailed;
    }
    return UnitFailed;
}
