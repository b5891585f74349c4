#pragma once

#include "device/LineFinding.h"
#include "serial/SerialExchange.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

#include <functional>
#include <optional>

struct Variabili;

// Why the unit does not answer, told by the line itself: a bounded sequence
// of frames on the port of PortaCom, ending in one finding. It reads address
// 000 to see whether the line gives frames back, waits up to 3 s for the
// reply to a test frame with the typed identifier, then tries the test frame
// with other identifiers. Every frame goes on the line trace under the
// operation's own heading; the unit's texts and the operator's identifier are
// left as they are.
namespace LineDiagnosis {

constexpr int LimitMs = 20'000;
constexpr int LateReplyWaitMs = 3'000;
constexpr int ReplyWaitMs = 800;
// Time kept back within the limit for closing the port and wording the
// finding: no step starts that could end later.
constexpr int ClosingMarginMs = 500;

struct Step {
    enum class Purpose { EchoCheck, TypedIdentifier, OtherIdentifier };

    Purpose purpose = Purpose::TypedIdentifier;
    QByteArray identifier;
    QByteArray frame;
    int waitMs = 0;
    // What came back, once the step is over.
    std::optional<SerialExchange::Heard> heard;

    // One line in Italian: what is tried and, once over, what came back.
    QString describe() const;
};

// Runs the diagnosis for the identifier Identificativo, then &C0 to &C9 and
// `moreIdentifiers`, within LimitMs. `stepChanged` hears of each step as it
// starts and again once it is over.
LineFinding run(Variabili& v, SerialExchange& exchange, const QByteArrayList& moreIdentifiers,
                const std::function<void(const Step&)>& stepChanged);

} // namespace LineDiagnosis
