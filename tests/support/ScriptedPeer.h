#pragma once

#include "PseudoTerminal.h"

#include <QByteArrayList>
#include <QObject>
#include <QSocketNotifier>
#include <QTimer>
#include <QtTest>

#include <deque>
#include <optional>

#include <unistd.h>

// The far end of a pseudo-terminal whose replies a test scripts byte for byte:
// each complete frame (ending in CR) is answered with the next scripted reply,
// or with nothing when the script says so or has run out.
class ScriptedPeer : public QObject {
    Q_OBJECT
  public:
    ScriptedPeer() {
        QString error;
        if (!m_pty.open(&error))
            qFatal("pseudo-terminal: %s", qPrintable(error));
        m_notifier = new QSocketNotifier(m_pty.master(), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &ScriptedPeer::readMaster);
    }

    QByteArray portText() const { return m_pty.slavePath().toLocal8Bit(); }
    void reply(const QByteArray& bytes) { m_script.push_back(QByteArrayList{bytes}); }
    // A reply that comes as a slow line brings it: the first piece at once,
    // each next one a millisecond after the one before.
    void replyInPieces(const QByteArrayList& pieces) { m_script.push_back(pieces); }
    void stayQuiet() { m_script.push_back(std::nullopt); }
    void vanishOnNextFrame() { m_vanishOnFrame = true; }
    // Bytes sent to the program at once, not as a reply to a frame.
    void send(const QByteArray& bytes) {
        QCOMPARE(::write(m_pty.master(), bytes.data(), bytes.size()), bytes.size());
    }
    QByteArrayList frames() const { return m_frames; }

  signals:
    void frameReceived(const QByteArray& frame);

  private:
    void readMaster() {
        char buffer[512];
        const ssize_t n = ::read(m_pty.master(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i) {
            m_pending += buffer[i];
            if (buffer[i] == '\r') {
                m_frames += m_pending;
                const QByteArray frame = m_pending;
                m_pending.clear();
                answer();
                emit frameReceived(frame);
            }
        }
    }

    void answer() {
        if (m_vanishOnFrame) {
            m_notifier->setEnabled(false);
            m_pty.close();
            return;
        }
        if (m_script.empty())
            return;
        const std::optional<QByteArrayList> next = m_script.front();
        m_script.pop_front();
        if (!next)
            return;
        send(next->first());
        for (qsizetype i = 1; i < next->size(); ++i)
            QTimer::singleShot(int(i), this, [this, piece = next->at(i)] { send(piece); });
    }

    PseudoTerminal m_pty;
    QSocketNotifier* m_notifier = nullptr;
    std::deque<std::optional<QByteArrayList>> m_script;
    QByteArray m_pending;
    QByteArrayList m_frames;
    bool m_vanishOnFrame = false;
};
