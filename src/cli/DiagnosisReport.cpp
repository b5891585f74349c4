#include "cli/DiagnosisReport.h"

#include "cli/Terminal.h"
#include "device/LineDiagnosis.h"

LineFinding diagnoseForCli(Variabili& v, SerialExchange& exchange,
                           const QByteArrayList& moreIdentifiers, std::FILE* out) {
    return LineDiagnosis::run(v, exchange, moreIdentifiers, [out](const LineDiagnosis::Step& step) {
        if (!step.heard)
            return;
        writeText(out, step.describe() + QLatin1Char('\n'));
        std::fflush(out);
    });
}

int exitStatusOf(const LineFinding& finding) {
    switch (finding.kind) {
    case LineFinding::Kind::Answers:
        return 0;
    case LineFinding::Kind::PortUnavailable:
        return 2;
    default:
        return 1;
    }
}
