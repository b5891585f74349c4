// Prints how close the program comes to the line's own speed: each scenario
// runs against tarvo-sim in its own process, unpaced and paced like a real
// 9600-baud line. The adapter scenario shows what a USB adapter that batches
// received bytes (an FTDI latency timer) costs a programming run.
#include "BenchReport.h"
#include "CopyListBench.h"
#include "DifferingBench.h"
#include "EditorBench.h"
#include "FileListBench.h"
#include "ReferenceClient.h"
#include "SimProcess.h"
#include "app/ProgramWindows.h"
#include "core/Variabili.h"
#include "device/DeviceProtocol.h"
#include "serial/SerialExchange.h"
#include "ui/main/FormScriveMessaggi.h"
#include "ui/save/FormSalvaFile.h"
#include "ui/trace/LineTraceWindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr int readFrameBytes = 9;
constexpr int writeFrameBytes = 28;
constexpr int addresses = 512;

double median(std::vector<double> values) {
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return values[values.size() / 2];
}

// Where each exchange's time went, from the trace of the line: from the write
// to the reply, and from the reply to the next write beyond the 10 ms pause.
// The medians leave out the stalls a shared machine puts in now and then.
void printTraceSplit(const LineTrace& trace) {
    if (trace.size() < 2)
        return;
    std::vector<double> onLine;
    std::vector<double> between;
    for (int index = 1; index < trace.size(); ++index) {
        const LineTrace::Exchange& before = trace.at(index - 1);
        onLine.push_back(double(before.tookNs) / 1e6);
        between.push_back(
            double(trace.at(index).sinceStartNs - before.sinceStartNs - before.tookNs) / 1e6);
    }
    const auto mean = [](const std::vector<double>& values) {
        return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
    };
    std::printf("  write to reply %.3f ms (median %.3f), reply to next write %.3f ms (median "
                "%.3f; pause 10 ms)\n",
                mean(onLine), median(onLine), mean(between), median(between));
}

// Leaves the save window at once, after taking the time at which it opened:
// that is when reading all texts has finished.
class SaveWindowCloser : public QObject {
  public:
    explicit SaveWindowCloser(BenchReport& report) : m_report(report) {
        qApp->installEventFilter(this);
    }
    ~SaveWindowCloser() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            if (auto* window = qobject_cast<FormSalvaFile*>(watched)) {
                m_report.finish();
                QTimer::singleShot(0, window, [window] {
                    window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
                });
            }
        }
        return false;
    }

  private:
    BenchReport& m_report;
};

// The main window and serial host beside a tarvo-sim process, with the trace
// of the line shown and following the run. Operations start from the window's
// buttons, as the operator starts them.
struct Bench {
    Bench(int baud, int adapterLatencyMs, const QStringList& more = {})
        : sim(QStringList{QStringLiteral("--baud"), QString::number(baud),
                          QStringLiteral("--adapter-latency"), QString::number(adapterLatencyMs)} +
              more) {
        v.Identificativo = "&C1";
        box("Text3")->setText(sim.networkUrl().isEmpty() ? sim.devicePath() : sim.networkUrl());
        window.show();
        trace.show();
    }
    QLineEdit* box(const char* name) { return window.findChild<QLineEdit*>(QLatin1String(name)); }
    void click(const char* button) {
        window.findChild<QPushButton*>(QLatin1String(button))->click();
    }
    SimProcess sim;
    Variabili v;
    SerialExchange exchange{v};
    FormScriveMessaggi window{v, exchange, programWindows(v)};
    LineTraceWindow trace{exchange.trace()};
};

// Returns the wall time of the run; through the network, tarvo-sim's
// tcp:// port, when `network` is set.
double benchProgramming(int baud, int adapterLatencyMs = 0, bool network = false) {
    Bench bench(baud, adapterLatencyMs,
                network ? QStringList{QStringLiteral("--tcp"), QStringLiteral("0")}
                        : QStringList{});
    QTemporaryDir folder;
    QFile file(folder.filePath(QStringLiteral("bench.tvo")));
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write("benchmark\r\n");
    for (int address = 0; address < addresses; ++address)
        file.write(QByteArray::number(address).rightJustified(3, '0') + "TESTO " +
                   QByteArray::number(address).rightJustified(10, '.') + "\r\n");
    file.write("end\r\n");
    file.close();
    bench.v.FileSelezionato = QFile::encodeName(file.fileName());
    const QString name = adapterLatencyMs > 0
                             ? QStringLiteral("programming, adapter %1 ms").arg(adapterLatencyMs)
                         : network ? QStringLiteral("programming 512 texts through tcp://")
                                   : QStringLiteral("programming 512 texts");
    BenchReport report(name, baud, 2 * addresses,
                       qint64(addresses) * (writeFrameBytes + FrameLayout::writeReplyLength +
                                            readFrameBytes + FrameLayout::readReplyLength));
    report.start();
    bench.click("Command1");
    report.finish();
    report.print();
    printTraceSplit(bench.exchange.trace());
    std::printf("  outcome: %s\n", qPrintable(bench.box("Text2")->text()));
    return report.wallSeconds();
}

// A programming run at 9600 baud without an adapter's batching, then with an
// FTDI latency timer at 1 ms (what the program asks for) and at its 16 ms
// default.
void benchAdapterLatency() {
    const double direct = benchProgramming(9600);
    for (const int latencyMs : {1, 16}) {
        const double held = benchProgramming(9600, latencyMs);
        std::printf("  adapter latency %2d ms costs the run %+.3f s (%+.1f%%)\n", latencyMs,
                    held - direct, (held / direct - 1.0) * 100.0);
    }
}

// A programming run at 9600 baud through tarvo-sim's pseudo-terminal, then
// the same through its tcp:// port, as through a serial device server.
void benchNetworkLine() {
    const double direct = benchProgramming(9600);
    const double network = benchProgramming(9600, 0, true);
    std::printf("  through tcp:// %.3f s against %.3f s through the pty: %.4f x\n", network, direct,
                network / direct);
}

void benchReadingAll(int baud) {
    Bench bench(baud, 0);
    BenchReport report(QStringLiteral("reading all 512 texts"), baud, addresses,
                       qint64(addresses) * (readFrameBytes + FrameLayout::readReplyLength));
    const SaveWindowCloser closer(report);
    report.start();
    bench.click("LeggiTesti");
    report.print();
    printTraceSplit(bench.exchange.trace());
    std::printf("  outcome: %s\n", qPrintable(bench.box("Text2")->text()));
}

void benchExchanges(int baud, int count) {
    SimProcess sim({QStringLiteral("--baud"), QString::number(baud)});
    if (sim.devicePath().isEmpty()) {
        std::printf("tarvo-sim did not start\n");
        return;
    }
    Variabili v;
    v.Identificativo = "&C1";
    v.PortaCom = sim.devicePath().toLocal8Bit();
    SerialExchange exchange(v);
    if (!exchange.ApriSeriale()) {
        std::printf("%s\n", qPrintable(exchange.lastFailure().text));
        return;
    }
    BenchReport report(QStringLiteral("exchange (read frame)"), baud, count,
                       qint64(count) * (readFrameBytes + FrameLayout::readReplyLength));
    int failures = 0;
    report.start();
    for (int i = 0; i < count; ++i) {
        v.Comando = DeviceProtocol::readFrame(v.Identificativo,
                                              QByteArray::number(i % 512).rightJustified(3, '0'));
        v.LunghezzaRisposta = FrameLayout::readReplyLength;
        exchange.InviaAllaSeriale();
        failures += v.Risposta == SerialExchange::TimeoutText;
    }
    report.finish();
    exchange.ChiudiSeriale();
    report.print();
    printTraceSplit(exchange.trace());
    if (failures > 0)
        std::printf("  %d exchanges timed out\n", failures);
}

// The same exchanges by the reference client, against a simulated unit of its
// own.
void benchReference(int baud, int count) {
    SimProcess sim({QStringLiteral("--baud"), QString::number(baud)});
    if (sim.devicePath().isEmpty()) {
        std::printf("tarvo-sim did not start\n");
        return;
    }
    referenceExchanges(sim.devicePath(), baud, count);
}

} // namespace

int main(int argc, char* argv[]) {
    // The windows the scenarios drive are never looked at.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("tarvodisp benchmarks"));
    parser.addHelpOption();
    parser.addPositionalArgument(
        QStringLiteral("scenario"),
        QStringLiteral("exchange, program, readall, editor (default: "
                       "these four), adapter, network, reference, differing, filelist, copies"));
    const QCommandLineOption countOption(QStringLiteral("exchanges"),
                                         QStringLiteral("Exchanges in the exchange scenario."),
                                         QStringLiteral("n"), QStringLiteral("1000"));
    parser.addOption(countOption);
    parser.process(app);
    const QStringList scenarios = parser.positionalArguments();
    const auto wanted = [&](const QString& name) {
        return scenarios.isEmpty() || scenarios.contains(name);
    };
    // Three programming runs at 9600 baud: only when asked for.
    if (scenarios.contains(QStringLiteral("adapter")))
        benchAdapterLatency();
    // Two programming runs at 9600 baud: only when asked for.
    if (scenarios.contains(QStringLiteral("network")))
        benchNetworkLine();
    // Four runs at 9600 baud, about three minutes: only when asked for.
    if (scenarios.contains(QStringLiteral("differing")))
        benchDifferingTexts();
    // 40,000 files written to a temporary folder: only when asked for.
    if (scenarios.contains(QStringLiteral("filelist")))
        benchFileList();
    // 5,000 copies written to a temporary folder: only when asked for.
    if (scenarios.contains(QStringLiteral("copies")))
        benchCopyList();
    const int count = parser.value(countOption).toInt();
    if (wanted(QStringLiteral("exchange"))) {
        for (const int baud : {0, 9600}) {
            benchExchanges(baud, count);
            benchReference(baud, count);
        }
    }
    // The reference alone, unpaced: what this machine allows at the moment.
    if (scenarios.contains(QStringLiteral("reference")))
        benchReference(0, count);
    if (wanted(QStringLiteral("program"))) {
        benchProgramming(0);
        benchProgramming(9600);
    }
    if (wanted(QStringLiteral("readall"))) {
        benchReadingAll(0);
        benchReadingAll(9600);
    }
    if (wanted(QStringLiteral("editor")))
        benchEditor();
    return 0;
}
