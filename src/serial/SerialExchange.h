#pragma once

#include "serial/ExchangeReply.h"
#include "serial/LineTrace.h"
#include "serial/PortFailure.h"

#include <QObject>
#include <QString>

#include <functional>

class SerialControl;
struct Variabili;

// The serial session of the program: opens and closes the port for each
// device operation and carries the request/response exchange, through the
// session state, recording every exchange in the trace.
class SerialExchange : public QObject {
    Q_OBJECT
  public:
    static const QByteArray TimeoutText; // "1234567errore seriale "

    // A reply as the exchange leaves it: without its last character when it
    // has more than three, then without a leading CR.
    static QByteArray trimmed(QByteArray reply);

    explicit SerialExchange(Variabili& v, QObject* parent = nullptr);

    // Opens the port named by PortaCom at 9600,N,8,1. False when it cannot be
    // opened; lastFailure() then says why.
    bool ApriSeriale();
    void ChiudiSeriale();

    // Sends Comando and leaves the trimmed reply, or the timeout text, in
    // Risposta. A port that is not open, or fails during the exchange, gives
    // the timeout text at once. What came of it is returned as well, so that
    // no caller needs to recognise the timeout text.
    ExchangeReply InviaAllaSeriale();
    bool AspettaSerialeLibera();
    ExchangeReply AspettaRisposta();

    // A line that gives back every frame sent (a two-wire RS-485 adapter
    // without echo suppression, TX joined to RX): each exchange then expects
    // the exact frame back before the reply, waits for as many more bytes,
    // and removes it before the reply is judged. Off until set.
    void setLineEchoes(bool echoes) { m_lineEchoes = echoes; }
    bool lineEchoes() const { return m_lineEchoes; }

    // What the line gave back for one frame, every byte as it came (echo
    // included, nothing trimmed), and how long after the write the listening
    // ended, the last byte came and the frame had come back whole (0: never).
    struct Heard {
        ExchangeReply::Status status = ExchangeReply::Status::NotSent;
        QByteArray bytes;
        qint64 tookNs = 0;
        qint64 lastByteNs = 0;
        qint64 echoNs = 0;
    };
    // Sends `frame` and gathers what comes back until `enough` holds for the
    // bytes gathered (Answered) or `waitMs` have passed (TimedOut), for
    // looking at the line itself rather than exchanging with the unit. The
    // line is taken and drained as for any exchange, which the trace records;
    // the session state's frame and reply are left alone.
    Heard listen(const QByteArray& frame, int waitMs,
                 const std::function<bool(const QByteArray&)>& enough);

    // Why the port could not be opened or stopped working during the last
    // operation; of kind None when it worked.
    PortFailure lastFailure() const;

    // Set (kind InUse) when a reply went missing during the current operation
    // while other programs had the same device open, which may have taken the
    // reply: "la porta è aperta anche da cat (pid 1234), ..."; kind None
    // otherwise. A note beside the operation's own texts, also on the
    // timed-out exchange in the trace.
    const PortFailure& replyTakers() const { return m_replyTakers; }

    // Every exchange of this port, for the operator's trace window.
    LineTrace& trace() { return m_trace; }

  public slots:
    void MSComm1_OnComm();

  signals:
    // The pause after a reply begins: the line stays quiet for 10 ms, the
    // moment for the windows to catch up without delaying the next frame.
    void pauseBegins();
    // replyTakers() has just been found.
    void replyTakersFound(const QString& note);

  private:
    // Both record in the trace; the first always returns false.
    bool traceOpenFailure();
    void traceExchange(QByteArray received, LineTrace::Mark mark);
    // On a line that echoes: the bytes so far begin as the frame sent does.
    bool echoSoFar(const QByteArray& bytes) const;
    // On a line taken not to echo: the bytes are the frame sent, or its
    // beginning, given back by the line.
    bool ownFrameHeard(const QByteArray& bytes) const;
    // Looks, once per operation, for other programs holding the device.
    void noteReplyTakers();

    Variabili& m_v;
    SerialControl* MSComm1;
    PortFailure m_openFailure;
    PortFailure m_replyTakers;
    LineTrace m_trace;
    QByteArray m_sent;
    qint64 m_sentAtNs = 0;
    bool m_lineEchoes = false;
};
