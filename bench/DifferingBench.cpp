#include "DifferingBench.h"

#include "BenchReport.h"
#include "SimProcess.h"
#include "core/Variabili.h"
#include "device/DeviceProtocol.h"
#include "device/OperationHost.h"
#include "device/ProgrammaTesti.h"
#include "device/WriteDifferingTexts.h"
#include "serial/SerialExchange.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int baud = 9600;
constexpr int addresses = 512;
constexpr int readExchangeBytes = 9 + FrameLayout::readReplyLength;
constexpr int writeExchangeBytes = 28 + FrameLayout::writeReplyLength;

// Keeps the last outcome and acknowledges errors at once.
class QuietHost : public OperationHost {
  public:
    QString outcome;
    QString error;
    void showSending(const QString&) override {}
    void showOutcome(const QString& text) override { outcome = text; }
    void showFailure(const RunFailure&) override {}
    void showNote(const QString&) override {}
    void showError(const QString& testoErrore) override { error = testoErrore; }
    void awaitAcknowledgement() override {}
    void showProgress(const RunProgress&) override {}
    void DisabilitaComandi() override {}
    void AbilitaComandi() override {}
    void offerForSaving() override {}
};

QByteArray digits(int address) {
    return QByteArray::number(address).rightJustified(3, '0');
}

bool writeMessageFile(const QString& path, const std::function<QByteArray(int)>& text) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("benchmark\r\n");
    for (int address = 0; address < addresses; ++address)
        file.write(digits(address) + text(address) + "\r\n");
    file.write("end\r\n");
    return file.error() == QFileDevice::NoError;
}

// Runs an operation against a fresh unit that starts from `memory`; returns
// the wall time.
double timeRun(const QString& memory, const QString& file, const QString& name, int exchanges,
               qint64 wireBytes, bool onlyDiffering) {
    SimProcess sim(
        {QStringLiteral("--baud"), QString::number(baud), QStringLiteral("--memory"), memory});
    if (sim.devicePath().isEmpty()) {
        std::printf("tarvo-sim did not start\n");
        return 0;
    }
    Variabili v;
    v.Identificativo = "&C1";
    v.PortaCom = sim.devicePath().toLocal8Bit();
    SerialExchange exchange(v);
    QuietHost host;
    BenchReport report(name, baud, exchanges, wireBytes);
    report.start();
    DifferingWriteSummary summary;
    if (onlyDiffering)
        writeDifferingTexts(v, exchange, host, file, {}, summary);
    else
        ProgrammaTesti(v, exchange, host, file);
    report.finish();
    report.print();
    std::printf("  outcome: %s%s\n", qPrintable(host.outcome),
                host.error.isEmpty() ? "" : qPrintable(QStringLiteral(" (") + host.error + ')'));
    return report.wallSeconds();
}

void compareRuns(const QTemporaryDir& folder, int differing) {
    const QString file = folder.filePath(QStringLiteral("file.tvo"));
    const QString memory = folder.filePath(QStringLiteral("memoria-%1.tvo").arg(differing));
    // Every 64th text differs when 8 do.
    const int step = addresses / differing;
    if (!writeMessageFile(file, [](int address) { return "TESTO " + digits(address); }) ||
        !writeMessageFile(memory, [step](int address) {
            return (address % step == 0 ? "VECCHIO " : "TESTO ") + digits(address);
        })) {
        std::printf("cannot write the benchmark's files\n");
        return;
    }
    const double full =
        timeRun(memory, file, QStringLiteral("programming 512 texts"), 2 * addresses,
                qint64(addresses) * (writeExchangeBytes + readExchangeBytes), false);
    const double onlyDiffering =
        timeRun(memory, file, QStringLiteral("only the %1 differing").arg(differing),
                addresses + 2 * differing,
                qint64(addresses) * readExchangeBytes +
                    qint64(differing) * (writeExchangeBytes + readExchangeBytes),
                true);
    if (full > 0)
        std::printf("  %d of 512 differ: only differing %.3f s / full %.3f s = %.3f\n", differing,
                    onlyDiffering, full, onlyDiffering / full);
}

} // namespace

void benchDifferingTexts() {
    QTemporaryDir folder;
    for (const int differing : {8, 512})
        compareRuns(folder, differing);
}
