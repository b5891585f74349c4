// Prints how close the program comes to the line's own speed: each scenario
// runs against tarvo-sim in its own process, unpaced and paced like a real
// 9600-baud line.
#include "BenchReport.h"
#include "SimProcess.h"
#include "core/Variabili.h"
#include "device/Protocollo.h"
#include "serial/FormSeriale.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

constexpr int readFrameBytes = 9;

void benchExchanges(int baud, int count) {
    SimProcess sim({QStringLiteral("--baud"), QString::number(baud)});
    if (sim.devicePath().isEmpty()) {
        std::printf("tarvo-sim did not start\n");
        return;
    }
    Variabili v;
    v.Identificativo = "&C1";
    v.PortaCom = sim.devicePath().toLocal8Bit();
    FormSeriale seriale(v);
    if (!seriale.ApriSeriale()) {
        std::printf("%s\n", qPrintable(seriale.lastFailure()));
        return;
    }
    BenchReport report(QStringLiteral("exchange (read frame)"), baud, count,
                       qint64(count) * (readFrameBytes + Protocollo::LunghezzaRispostaLettura));
    int failures = 0;
    report.start();
    for (int i = 0; i < count; ++i) {
        v.Comando = Protocollo::frameLettura(v.Identificativo,
                                             QByteArray::number(i % 512).rightJustified(3, '0'));
        v.LunghezzaRisposta = Protocollo::LunghezzaRispostaLettura;
        seriale.InviaAllaSeriale();
        failures += v.Risposta == FormSeriale::TestoTimeout;
    }
    report.finish();
    seriale.ChiudiSeriale();
    report.print();
    if (failures > 0)
        std::printf("  %d exchanges timed out\n", failures);
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
    parser.addPositionalArgument(QStringLiteral("scenario"),
                                 QStringLiteral("exchange (default: all)"));
    const QCommandLineOption countOption(QStringLiteral("exchanges"),
                                         QStringLiteral("Exchanges in the exchange scenario."),
                                         QStringLiteral("n"), QStringLiteral("1000"));
    parser.addOption(countOption);
    parser.process(app);
    const QStringList scenarios = parser.positionalArguments();
    const auto wanted = [&](const QString& name) {
        return scenarios.isEmpty() || scenarios.contains(name);
    };
    const int count = parser.value(countOption).toInt();
    if (wanted(QStringLiteral("exchange"))) {
        benchExchanges(0, count);
        benchExchanges(9600, count);
    }
    return 0;
}
