#pragma once

#include <QByteArray>
#include <QObject>
#include <QSocketNotifier>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

// Another reader of the program's line, as a forgotten `cat` would be, that
// takes the next bytes from under the program's port once. Made before the
// port opens, its notification comes first in each round of events; when it
// waits for the bytes to arrive (waitForBytes, from a slot of the far end's
// frame), both hear of them in the same round, it reads them first, and the
// port's read finds nothing: the case of a read that would block.
class AnotherReader : public QObject {
    Q_OBJECT
  public:
    explicit AnotherReader(const QByteArray& device)
        : m_fd(::open(device.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {
        m_notifier = new QSocketNotifier(m_fd, QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &AnotherReader::take);
    }
    ~AnotherReader() override {
        delete m_notifier;
        ::close(m_fd);
    }

    bool isOpen() const { return m_fd >= 0; }
    QByteArray taken() const { return m_taken; }

    // A blocking read begun now, as `cat` makes, would return at once with
    // nothing (VMIN and VTIME 0), which cat takes for the end of its input.
    bool blockingReadWouldEndAtOnce() const {
        termios line{};
        return ::tcgetattr(m_fd, &line) == 0 && line.c_cc[VMIN] == 0 && line.c_cc[VTIME] == 0;
    }

    void waitForBytes() {
        pollfd ready{m_fd, POLLIN, 0};
        ::poll(&ready, 1, 2000);
    }

  private:
    void take() {
        char buffer[256];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0)
            m_taken.append(buffer, n);
        m_notifier->setEnabled(false);
    }

    int m_fd;
    QSocketNotifier* m_notifier;
    QByteArray m_taken;
};
