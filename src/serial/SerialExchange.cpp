#include "serial/SerialExchange.h"

#include "core/EventWait.h"
#include "core/Pausa.h"
#include "core/Variabili.h"
#include "serial/PortCatalog.h"
#include "serial/PortHolders.h"
#include "serial/PortMessages.h"
#include "serial/PortName.h"
#include "serial/SerialControl.h"

#include <QElapsedTimer>

#include <utility>

namespace {
constexpr int replyTimeoutMs = 800;
constexpr int pauseAfterReplyMs = 10;

} // namespace

const QByteArray SerialExchange::TimeoutText = QByteArrayLiteral("1234567errore seriale ");

SerialExchange::SerialExchange(Variabili& v, QObject* parent)
    : QObject(parent), m_v(v), MSComm1(new SerialControl(this)) {
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    connect(MSComm1, &SerialControl::OnComm, this, &SerialExchange::MSComm1_OnComm);
}

bool SerialExchange::ApriSeriale() {
    m_openFailure = {};
    m_replyTakers = {};
    m_trace.startOperation();
    m_v.SerialeOccupata = false;
    const PortName name = PortName::fromText(m_v.PortaCom);
    if (name.device.isEmpty()) {
        m_openFailure = {PortFailure::Kind::Missing,
                         name.problem + QStringLiteral(". ") + PortCatalog::summary()};
        return traceOpenFailure();
    }
    m_trace.nameLine(lineHeading(name.device));
    MSComm1->setCommPort(name.device);
    MSComm1->setSettings(QStringLiteral("9600,N,8,1"));
    if (!MSComm1->setPortOpen(true)) {
        m_openFailure = MSComm1->failure();
        return traceOpenFailure();
    }
    return true;
}

bool SerialExchange::traceOpenFailure() {
    m_trace.record(
        {m_trace.sinceStartNs(), 0, {}, {}, LineTrace::Mark::PortFailure, m_openFailure.text});
    return false;
}

void SerialExchange::ChiudiSeriale() {
    if (MSComm1->PortOpen())
        MSComm1->setPortOpen(false);
}

PortFailure SerialExchange::lastFailure() const {
    return m_openFailure.happened() ? m_openFailure : MSComm1->failure();
}

ExchangeReply SerialExchange::InviaAllaSeriale() {
    m_sent = m_v.Comando;
    m_sentAtNs = m_trace.sinceStartNs();
    if (!AspettaSerialeLibera()) {
        m_v.Risposta = TimeoutText;
        traceExchange({}, LineTrace::Mark::NotSent);
        return {ExchangeReply::Status::NotSent, {}};
    }
    m_sentAtNs = m_trace.sinceStartNs();
    MSComm1->Output(m_v.Comando);
    const qsizetype echoLength = m_lineEchoes ? m_sent.size() : 0;
    MSComm1->setRThreshold(qint16(m_v.LunghezzaRisposta + echoLength));
    return AspettaRisposta();
}

bool SerialExchange::AspettaSerialeLibera() {
    EventWait::pumpOnce();
    // Only an exchange started from inside another one's wait finds the line
    // taken; it is refused, since waiting would steal the outer reply or hang.
    // Nothing more is sent once the program is closing or asked to stop.
    if (m_v.SerialeOccupata || !MSComm1->PortOpen() || m_v.closeRequested || m_v.stopRequested)
        return false;
    m_v.SerialeOccupata = true;
    // Stale input (a late reply of a timed-out exchange, noise) never reaches
    // the reply of this frame.
    MSComm1->discardInput();
    return true;
}

ExchangeReply SerialExchange::AspettaRisposta() {
    m_v.ScadenzaRisposta = QDeadlineTimer(replyTimeoutMs, Qt::PreciseTimer);
    EventWait::until(
        [this] { return !m_v.SerialeOccupata || m_v.closeRequested || !MSComm1->PortOpen(); },
        m_v.ScadenzaRisposta);
    if (m_v.SerialeOccupata) {
        // What came short of the threshold stays waiting; the trace shows it.
        MSComm1->setRThreshold(0);
        const QByteArray partial = MSComm1->waitingInput();
        const bool echoDiffers = !echoSoFar(partial);
        traceExchange(partial,
                      echoDiffers ? LineTrace::Mark::EchoDiffers : LineTrace::Mark::Timeout);
        m_v.SerialeOccupata = false;
        m_v.Risposta = TimeoutText;
        if (MSComm1->failure().happened())
            return {ExchangeReply::Status::PortLost, partial};
        if (echoDiffers)
            return {ExchangeReply::Status::EchoDiffers, partial};
        noteReplyTakers();
        return {ExchangeReply::Status::TimedOut, partial, ownFrameHeard(partial)};
    }
    if (!echoSoFar(m_v.Risposta)) {
        traceExchange(m_v.Risposta, LineTrace::Mark::EchoDiffers);
        return {ExchangeReply::Status::EchoDiffers, std::exchange(m_v.Risposta, TimeoutText)};
    }
    traceExchange(m_v.Risposta, LineTrace::Mark::None);
    const bool echoed = ownFrameHeard(m_v.Risposta);
    if (m_lineEchoes)
        m_v.Risposta.remove(0, m_sent.size());
    m_v.Risposta = trimmed(std::move(m_v.Risposta));
    emit pauseBegins();
    Pausa(m_v, pauseAfterReplyMs);
    return {ExchangeReply::Status::Answered, m_v.Risposta, echoed};
}

QByteArray SerialExchange::trimmed(QByteArray reply) {
    if (reply.size() > 3)
        reply.chop(1);
    if (reply.startsWith('\r'))
        reply.remove(0, 1);
    return reply;
}

bool SerialExchange::ownFrameHeard(const QByteArray& bytes) const {
    return !m_lineEchoes && !bytes.isEmpty() &&
           (bytes.startsWith(m_sent) || m_sent.startsWith(bytes));
}

bool SerialExchange::echoSoFar(const QByteArray& bytes) const {
    return !m_lineEchoes || m_sent.startsWith(bytes.left(m_sent.size()));
}

SerialExchange::Heard SerialExchange::listen(const QByteArray& frame, int waitMs,
                                             const std::function<bool(const QByteArray&)>& enough) {
    m_sent = frame;
    m_sentAtNs = m_trace.sinceStartNs();
    if (!AspettaSerialeLibera()) {
        traceExchange({}, LineTrace::Mark::NotSent);
        return {};
    }
    // The bytes are gathered here as they come: no notification completes
    // this exchange.
    MSComm1->setRThreshold(0);
    m_sentAtNs = m_trace.sinceStartNs();
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    MSComm1->Output(frame);
    Heard heard;
    bool complete = false;
    EventWait::until(
        [&] {
            const QByteArray more = MSComm1->Input();
            heard.tookNs = sinceWrite.nsecsElapsed();
            if (!more.isEmpty()) {
                heard.bytes += more;
                heard.lastByteNs = heard.tookNs;
                if (heard.echoNs == 0 && heard.bytes.startsWith(frame))
                    heard.echoNs = heard.tookNs;
            }
            complete = enough(heard.bytes);
            return complete || m_v.closeRequested || !MSComm1->PortOpen();
        },
        QDeadlineTimer(waitMs, Qt::PreciseTimer));
    if (!complete)
        heard.tookNs = sinceWrite.nsecsElapsed();
    m_v.SerialeOccupata = false;
    if (MSComm1->failure().happened())
        heard.status = ExchangeReply::Status::PortLost;
    else
        heard.status = complete ? ExchangeReply::Status::Answered : ExchangeReply::Status::TimedOut;
    traceExchange(heard.bytes, complete ? LineTrace::Mark::None : LineTrace::Mark::Timeout);
    if (heard.status == ExchangeReply::Status::TimedOut && heard.bytes.isEmpty())
        noteReplyTakers();
    return heard;
}

void SerialExchange::noteReplyTakers() {
    // No program of this machine holds a line through the network.
    if (m_replyTakers.happened() || MSComm1->isNetworkLine())
        return;
    const QList<PortHolder> others = portHolders(MSComm1->CommPort());
    QString note;
    if (!others.isEmpty())
        note = otherHoldersNote(others);
    else if (const QList<PortHolder> likely = likelyHolders(MSComm1->CommPort()); !likely.isEmpty())
        note = likelyHoldersNote(likely);
    else if (MSComm1->inputTakenElsewhere())
        note = unseenReaderNote();
    else
        return;
    m_replyTakers = {PortFailure::Kind::InUse, note};
    m_trace.noteLast(note);
    emit replyTakersFound(note);
}

void SerialExchange::traceExchange(QByteArray received, LineTrace::Mark mark) {
    const QString failure = lastFailure().text;
    if (!failure.isEmpty())
        mark = LineTrace::Mark::PortFailure;
    m_trace.record({m_sentAtNs, m_trace.sinceStartNs() - m_sentAtNs, m_sent, std::move(received),
                    mark, failure});
}

void SerialExchange::MSComm1_OnComm() {
    // Only an exchange awaiting its reply takes the bytes. Once it has them,
    // what comes after (the rest of an echo, the reply behind it, noise)
    // waits to be discarded before the next frame: it never replaces the
    // reply that the caller is about to judge.
    if (MSComm1->CommEvent() != SerialControl::comEvReceive || !m_v.SerialeOccupata)
        return;
    m_v.Risposta = MSComm1->Input();
    m_v.SerialeOccupata = false;
}
