#include "BenchReport.h"

#include <cstdio>
#include <sys/resource.h>

namespace {
constexpr double pauseAfterReply = 0.010;
constexpr double bitsPerByte = 10.0;
} // namespace

BenchReport::BenchReport(QString name, int baud, int exchanges, qint64 wireBytes)
    : m_name(std::move(name)), m_baud(baud), m_exchanges(exchanges), m_wireBytes(wireBytes) {}

double BenchReport::cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void BenchReport::start() {
    m_cpuAtStart = cpuSeconds();
    m_clock.start();
}

void BenchReport::finish() {
    m_wall = double(m_clock.nsecsElapsed()) / 1e9;
    m_cpu = cpuSeconds() - m_cpuAtStart;
}

void BenchReport::print() const {
    const double wire = m_baud > 0 ? double(m_wireBytes) * bitsPerByte / m_baud : 0.0;
    const double floor = wire + pauseAfterReply * m_exchanges;
    const double overheadMs = (m_wall - floor) / m_exchanges * 1000.0;
    std::printf("%-28s baud %-5s exchanges %4d  wall %8.3f s  floor %8.3f s  "
                "(%+.2f%%)  overhead %6.3f ms/exchange  cpu/wall %5.2f%%\n",
                qPrintable(m_name), m_baud > 0 ? qPrintable(QString::number(m_baud)) : "none",
                m_exchanges, m_wall, floor, (m_wall / floor - 1.0) * 100.0, overheadMs,
                m_wall > 0 ? m_cpu / m_wall * 100.0 : 0.0);
    std::fflush(stdout);
}
