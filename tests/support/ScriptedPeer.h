#pragma once

#include "PseudoTerminal.h"

#include <QByteArrayList>
#include <QObject>
#include <QSocketNotifier>
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
        if (!pty_.open(&error))
            qFatal("pseudo-terminal: %s", qPrintable(error));
        notifier_ = new QSocketNotifier(pty_.master(), QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &ScriptedPeer::readMaster);
    }

    QByteArray portText() const { return pty_.slavePath().toLocal8Bit(); }
    void reply(const QByteArray& bytes) { script_.push_back(bytes); }
    void stayQuiet() { script_.push_back(std::nullopt); }
    void vanishOnNextFrame() { vanishOnFrame_ = true; }
    // Bytes sent to the program at once, not as a reply to a frame.
    void send(const QByteArray& bytes) {
        QCOMPARE(::write(pty_.master(), bytes.data(), bytes.size()), bytes.size());
    }
    QByteArrayList frames() const { return frames_; }

  signals:
    void frameReceived(const QByteArray& frame);

  private:
    void readMaster() {
        char buffer[512];
        const ssize_t n = ::read(pty_.master(), buffer, sizeof buffer);
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i) {
            pending_ += buffer[i];
            if (buffer[i] == '\r') {
                frames_ += pending_;
                const QByteArray frame = pending_;
                pending_.clear();
                answer();
                emit frameReceived(frame);
            }
        }
    }

    void answer() {
        if (vanishOnFrame_) {
            notifier_->setEnabled(false);
            pty_.close();
            return;
        }
        if (script_.empty())
            return;
        const std::optional<QByteArray> next = script_.front();
        script_.pop_front();
        if (next)
            send(*next);
    }

    PseudoTerminal pty_;
    QSocketNotifier* notifier_ = nullptr;
    std::deque<std::optional<QByteArray>> script_;
    QByteArray pending_;
    QByteArrayList frames_;
    bool vanishOnFrame_ = false;
};
