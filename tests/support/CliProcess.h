#pragma once

#include <QProcess>
#include <QSignalSpy>
#include <QString>
#include <QStringList>

// What a run of tarvo-cli printed and how it ended.
struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs tarvo-cli, or a program that starts it, while this process's event
// loop serves a simulated unit.
inline CliRun runCli(const QStringList& arguments,
                     const QString& program = QStringLiteral(TARVO_CLI_EXECUTABLE)) {
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(program, arguments);
    CliRun run;
    if (!process.waitForStarted() || !finished.wait(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}
