#include "ReferenceClient.h"

#include "BenchReport.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr qint64 pauseNs = 10'000'000;
constexpr int replyTimeoutMs = 800;
constexpr qsizetype replyLength = 24;

timespec monotonicAfter(qint64 ns) {
    timespec at{};
    clock_gettime(CLOCK_MONOTONIC, &at);
    const qint64 total = at.tv_nsec + ns;
    at.tv_sec += time_t(total / 1'000'000'000);
    at.tv_nsec = long(total % 1'000'000'000);
    return at;
}

// Reads until a whole read reply is in; false on a timeout.
bool awaitReply(int fd) {
    char buffer[64];
    qsizetype received = 0;
    while (received < replyLength) {
        pollfd readable{fd, POLLIN, 0};
        if (poll(&readable, 1, replyTimeoutMs) <= 0)
            return false;
        const ssize_t count = read(fd, buffer, sizeof buffer);
        if (count < 0 && errno != EAGAIN && errno != EINTR)
            return false;
        received += qMax<ssize_t>(count, 0);
    }
    return true;
}

} // namespace

double referenceExchanges(const QString& device, int baud, int count) {
    const int fd = open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        std::printf("reference client: cannot open %s\n", qPrintable(device));
        return 0;
    }
    termios line{};
    tcgetattr(fd, &line);
    cfmakeraw(&line);
    cfsetspeed(&line, B9600);
    tcsetattr(fd, TCSANOW, &line);
    BenchReport report(QStringLiteral("reference client"), baud, count,
                       qint64(count) * (9 + replyLength));
    int failures = 0;
    report.start();
    for (int i = 0; i < count; ++i) {
        const QByteArray frame = "&C10R" + QByteArray::number(i % 512).rightJustified(3, '0') + '\r';
        if (write(fd, frame.constData(), size_t(frame.size())) != frame.size() || !awaitReply(fd))
            ++failures;
        const timespec end = monotonicAfter(pauseNs);
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &end, nullptr) == EINTR) {
        }
    }
    report.finish();
    close(fd);
    report.print();
    if (failures > 0)
        std::printf("  %d exchanges failed\n", failures);
    return report.wallSeconds();
}
