#include "device/LineDiagnosis.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/DeviceProtocol.h"
#include "device/OperationScope.h"
#include "serial/NetworkAddress.h"
#include "serial/PortCatalog.h"
#include "serial/PortName.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>

namespace LineDiagnosis {

namespace {

using Status = ExchangeReply::Status;

QString seconds(int ms) {
    return QLocale(QLocale::Italian).toString(double(ms) / 1000.0, 'g', 2);
}

// A test reply that the presence test would take as the unit's.
bool answersTest(const QByteArray& reply) {
    return DeviceProtocol::answersTest(SerialExchange::trimmed(reply));
}

// The port as the port list knows it: with the adapter's description and
// maker when it lists the device.
QString adapterOf(const QByteArray& portText) {
    const QString device = PortName::fromText(portText).device;
    const QString canonical = QFileInfo(device).canonicalFilePath();
    for (const PortEntry& entry : PortCatalog::present()) {
        if (entry.path == device || entry.device == device ||
            (!canonical.isEmpty() && QFileInfo(entry.device).canonicalFilePath() == canonical))
            return entry.label();
    }
    return device;
}

QByteArrayList otherIdentifiers(const QByteArray& typed, const QByteArrayList& more) {
    QByteArrayList candidates;
    for (char digit = '0'; digit <= '9'; ++digit)
        candidates += QByteArray("&C") + digit;
    candidates += more;
    QByteArrayList result;
    for (const QByteArray& candidate : std::as_const(candidates)) {
        if (candidate != typed && !result.contains(candidate))
            result += candidate;
    }
    return result;
}

class Run {
  public:
    Run(Variabili& v, SerialExchange& exchange, const std::function<void(const Step&)>& report)
        : m_v(v), m_exchange(exchange), m_report(report) {
        m_clock.start();
        m_finding.typedIdentifier = v.Identificativo;
        m_finding.echoExpected = exchange.lineEchoes();
        m_finding.networkLine =
            NetworkAddress::fromUrl(PortName::fromText(v.PortaCom).device).has_value();
    }

    LineFinding diagnose(const QByteArrayList& moreIdentifiers) {
        if (!checkEcho() || !testTypedIdentifier())
            return m_finding;
        for (const QByteArray& identifier :
             otherIdentifiers(m_finding.typedIdentifier, moreIdentifiers)) {
            if (m_clock.elapsed() + ReplyWaitMs + ClosingMarginMs > LimitMs) {
                m_finding.untried += identifier;
                continue;
            }
            if (!tryIdentifier(identifier))
                return m_finding;
        }
        if (m_exchange.replyTakers().happened()) {
            m_finding.kind = LineFinding::Kind::HeldElsewhere;
            m_finding.portProblem = m_exchange.replyTakers();
        } else if (m_finding.lineEchoes) {
            m_finding.kind = LineFinding::Kind::OnlyEcho;
            m_finding.adapter = adapterOf(m_v.PortaCom);
        } else {
            m_finding.kind = LineFinding::Kind::Silent;
            m_finding.adapter = adapterOf(m_v.PortaCom);
        }
        return m_finding;
    }

  private:
    // Sends the frame and listens until `replyLength` bytes have come, after
    // the frame given back when `echo` is looked for and the line gives it.
    SerialExchange::Heard listen(Step step, qsizetype replyLength, bool echo) {
        m_report(step);
        const QByteArray frame = step.frame;
        m_stepSentNs = m_clock.nsecsElapsed();
        step.heard = m_exchange.listen(frame, step.waitMs, [&](const QByteArray& bytes) {
            const qsizetype echoLength = echo && bytes.startsWith(frame) ? frame.size() : 0;
            return bytes.size() >= echoLength + replyLength;
        });
        m_report(step);
        if (step.heard->status == Status::PortLost) {
            m_finding.kind = LineFinding::Kind::PortLost;
            m_finding.portProblem = m_exchange.lastFailure();
        } else if (step.heard->status == Status::NotSent) {
            m_finding.kind = LineFinding::Kind::Interrupted;
        }
        return *step.heard;
    }

    // A read reply has the text where the read frame has its CR: bytes that
    // begin with the whole frame are the frame given back.
    bool checkEcho() {
        const QByteArray identifier = m_finding.typedIdentifier;
        const Step step{Step::Purpose::EchoCheck,
                        identifier,
                        DeviceProtocol::readFrame(identifier, "000"),
                        LateReplyWaitMs,
                        {}};
        const SerialExchange::Heard heard = listen(step, FrameLayout::readReplyLength, true);
        m_finding.lineEchoes = heard.bytes.startsWith(step.frame);
        m_earlier.append(Sent{step.frame, m_stepSentNs});
        return !ended(heard);
    }

    // What came back for the frame, without the echo the line gives.
    QByteArray replyPart(const QByteArray& frame, const QByteArray& bytes) const {
        return m_finding.lineEchoes && bytes.startsWith(frame) ? bytes.mid(frame.size()) : bytes;
    }

    struct TestHeard {
        SerialExchange::Heard heard;
        // What came back without the echo.
        QByteArray reply;
    };
    // The test frame with an identifier; nothing once the run has ended
    // (the port lost, a stop).
    std::optional<TestHeard> test(Step::Purpose purpose, const QByteArray& identifier, int waitMs) {
        const Step step{purpose, identifier, DeviceProtocol::testFrame(identifier), waitMs, {}};
        const SerialExchange::Heard heard =
            listen(step, FrameLayout::testReplyLength, m_finding.lineEchoes);
        if (ended(heard))
            return std::nullopt;
        return TestHeard{heard, replyPart(step.frame, heard.bytes)};
    }

    // True when no finding has been reached and other identifiers are worth
    // trying.
    bool testTypedIdentifier() {
        const std::optional<TestHeard> tested =
            test(Step::Purpose::TypedIdentifier, m_finding.typedIdentifier, LateReplyWaitMs);
        if (!tested)
            return false;
        const QByteArray& reply = tested->reply;
        m_finding.replyMs = tested->heard.tookNs / 1'000'000;
        if (m_finding.lineEchoes && !m_finding.echoExpected) {
            m_finding.kind = LineFinding::Kind::Echoes;
            m_finding.replyFollowed = answersTest(reply);
            return false;
        }
        if (answeredLate(reply, tested->heard))
            return false;
        m_earlier.append(Sent{DeviceProtocol::testFrame(m_finding.typedIdentifier), m_stepSentNs});
        if (answersTest(reply)) {
            if (m_finding.replyMs > ReplyWaitMs)
                m_finding.kind = LineFinding::Kind::AnswersLate;
            else if (m_finding.echoExpected && !m_finding.lineEchoes)
                m_finding.kind = LineFinding::Kind::EchoNotThere;
            else
                m_finding.kind = LineFinding::Kind::Answers;
            return false;
        }
        return !garbled(tested->heard.bytes, reply);
    }

    bool tryIdentifier(const QByteArray& identifier) {
        const std::optional<TestHeard> tested =
            test(Step::Purpose::OtherIdentifier, identifier, ReplyWaitMs);
        if (!tested)
            return false;
        if (answeredLate(tested->reply, tested->heard))
            return false;
        if (answersTest(tested->reply)) {
            m_finding.kind = LineFinding::Kind::OtherIdentifier;
            m_finding.answeringIdentifier = identifier;
            m_finding.replyMs = tested->heard.tookNs / 1'000'000;
            return false;
        }
        return !garbled(tested->heard.bytes, tested->reply);
    }

    // A well-formed reply to an earlier frame with the typed identifier, come
    // after that frame's wait was over: the unit answers, late. Taken for
    // anything else it would blame the wiring or name another identifier.
    bool answeredLate(const QByteArray& reply, const SerialExchange::Heard& heard) {
        for (const Sent& earlier : std::as_const(m_earlier)) {
            if (!repliesTo(earlier.frame, reply))
                continue;
            m_finding.kind = LineFinding::Kind::AnswersLate;
            m_finding.replyMs = (m_stepSentNs + heard.tookNs - earlier.atNs) / 1'000'000;
            return true;
        }
        return false;
    }

    bool repliesTo(const QByteArray& frame, const QByteArray& reply) const {
        const QByteArray& typed = m_finding.typedIdentifier;
        if (frame == DeviceProtocol::testFrame(typed))
            return reply.startsWith(typed + FrameLayout::presentVerb);
        const QByteArray readReply = reply.left(FrameLayout::readReplyLength);
        return reply.startsWith(typed + FrameLayout::readCommand) &&
               readReply.size() == FrameLayout::readReplyLength &&
               DeviceProtocol::readReplyValid(SerialExchange::trimmed(readReply));
    }

    static bool ended(const SerialExchange::Heard& heard) {
        return heard.status == Status::PortLost || heard.status == Status::NotSent;
    }

    bool garbled(const QByteArray& bytes, const QByteArray& reply) {
        if (reply.isEmpty())
            return false;
        m_finding.kind = LineFinding::Kind::Garbled;
        m_finding.bytes = bytes;
        return true;
    }

    Variabili& m_v;
    SerialExchange& m_exchange;
    const std::function<void(const Step&)>& m_report;
    QElapsedTimer m_clock;
    LineFinding m_finding;
    // The frames with the typed identifier sent so far, and when.
    struct Sent {
        QByteArray frame;
        qint64 atNs = 0;
    };
    QList<Sent> m_earlier;
    qint64 m_stepSentNs = 0;
};

} // namespace

QString Step::describe() const {
    const QString who = Windows1252::decode(identifier);
    const QString what =
        purpose == Purpose::EchoCheck
            ? QStringLiteral("Lettura dell'indirizzo 000 con %1, per vedere se la linea ripete "
                             "le trame")
                  .arg(who)
            : QStringLiteral("Test con %1").arg(who);
    if (!heard)
        return QStringLiteral("%1 (attesa fino a %2 s)…").arg(what, seconds(waitMs));
    switch (heard->status) {
    case Status::NotSent:
        return QStringLiteral("%1: trama non inviata").arg(what);
    case Status::PortLost:
        return QStringLiteral("%1: la porta ha smesso di funzionare").arg(what);
    case Status::Answered:
    case Status::TimedOut:
    case Status::EchoDiffers:
        break;
    }
    if (heard->bytes.isEmpty())
        return QStringLiteral("%1: nessun byte in %2 s").arg(what, seconds(waitMs));
    const QString hex = QString::fromLatin1(heard->bytes.toHex(' ').toUpper());
    if (heard->echoNs == 0) {
        return QStringLiteral("%1: %2 byte in %3 ms: %4")
            .arg(what)
            .arg(heard->bytes.size())
            .arg(heard->lastByteNs / 1'000'000)
            .arg(hex);
    }
    // On a line that echoes, when the echo came and when what followed it.
    const QString after = heard->bytes.size() == frame.size()
                              ? QStringLiteral("nessun altro byte in %1 s").arg(seconds(waitMs))
                              : QStringLiteral("altri %1 byte in %2 ms")
                                    .arg(heard->bytes.size() - frame.size())
                                    .arg(heard->lastByteNs / 1'000'000);
    return QStringLiteral("%1: %2 byte, l'eco in %3 ms e %4: %5")
        .arg(what)
        .arg(heard->bytes.size())
        .arg(heard->echoNs / 1'000'000)
        .arg(after, hex);
}

LineFinding run(Variabili& v, SerialExchange& exchange, const QByteArrayList& moreIdentifiers,
                const std::function<void(const Step&)>& stepChanged) {
    OperationScope scope(exchange, QStringLiteral("Diagnosi della linea"));
    if (!scope.open()) {
        LineFinding finding;
        finding.typedIdentifier = v.Identificativo;
        finding.kind = LineFinding::Kind::PortUnavailable;
        finding.portProblem = scope.openFailure();
        return finding;
    }
    return Run(v, exchange, stepChanged).diagnose(moreIdentifiers);
}

} // namespace LineDiagnosis
