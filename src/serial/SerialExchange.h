#pragma once

#include "serial/ExchangeReply.h"
#include "serial/LineTrace.h"

#include <QObject>
#include <QString>

class SerialControl;
struct Variabili;

// The serial session of the program: opens and closes the port for each
// device operation and carries the request/response exchange, through the
// session state, recording every exchange in the trace.
class SerialExchange : public QObject {
    Q_OBJECT
  public:
    static const QByteArray TimeoutText; // "1234567errore seriale "

    explicit SerialExchange(Variabili& v, QObject* parent = nullptr);

    // Opens the port named by PortaCom at 9600,N,8,1. False when it cannot be
    // opened; lastFailure() then says why in the operator's words.
    bool ApriSeriale();
    void ChiudiSeriale();

    // Sends Comando and leaves the trimmed reply, or the timeout text, in
    // Risposta. A port that is not open, or fails during the exchange, gives
    // the timeout text at once. What came of it is returned as well, so that
    // no caller needs to recognise the timeout text.
    ExchangeReply InviaAllaSeriale();
    bool AspettaSerialeLibera();
    ExchangeReply AspettaRisposta();

    // Why the port could not be opened or stopped working during the last
    // operation; empty when it worked.
    QString lastFailure() const;

    // Set when a reply went missing during the current operation while other
    // programs had the same device open, which may have taken the reply:
    // "la porta è aperta anche da cat (pid 1234), ..."; empty otherwise. A
    // note beside the operation's own texts, also on the timed-out exchange
    // in the trace.
    QString replyTakers() const { return m_replyTakers; }

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
    // Looks, once per operation, for other programs holding the device.
    void noteReplyTakers();

    Variabili& m_v;
    SerialControl* MSComm1;
    QString m_openFailure;
    QString m_replyTakers;
    LineTrace m_trace;
    QByteArray m_sent;
    qint64 m_sentAtNs = 0;
};
