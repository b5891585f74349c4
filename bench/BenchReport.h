#pragma once

#include <QElapsedTimer>
#include <QString>

// Wall time and this process's CPU time over one run, printed against the
// floor: the time the bytes need on the wire plus the pause after each reply.
class BenchReport {
  public:
    BenchReport(QString name, int baud, int exchanges, qint64 wireBytes);
    void start();
    void finish();
    void print() const;
    double wallSeconds() const { return m_wall; }

  private:
    static double cpuSeconds();

    QString m_name;
    int m_baud;
    int m_exchanges;
    qint64 m_wireBytes;
    QElapsedTimer m_clock;
    double m_cpuAtStart = 0;
    double m_wall = 0;
    double m_cpu = 0;
};
