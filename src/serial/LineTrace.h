#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include <vector>

// The most recent exchanges on the line, kept in memory only: the frame
// written, the reply received, when and how long, and what went wrong. A ring
// of fixed capacity, so recording costs the same however long the program runs.
class LineTrace : public QObject {
    Q_OBJECT
  public:
    enum class Mark {
        None,
        Timeout,      // no complete reply in time
        NotSent,      // the line was busy or the port closed: nothing written
        PortFailure,  // the port could not be opened or stopped working
        Refused,      // the unit did not acknowledge a write
        Mismatch,     // a text read back differs from the one written
        InvalidReply, // a reply that is not what the frame asks for
        EchoDiffers,  // the line did not give the frame back as it was sent
    };

    struct Exchange {
        qint64 sinceStartNs = 0; // from the start of the operation to the write
        qint64 tookNs = 0;       // from the write to the reply or the timeout
        QByteArray sent;
        QByteArray received;
        Mark mark = Mark::None;
        QString note;
        // Set only on the row that opens an operation, which records no
        // exchange: what the operation is and when it began.
        QString operation = {};
        QDateTime startedAt = {};
        // The line the operation goes through, in the operator's words.
        QString line = {};
    };

    static constexpr int DefaultCapacity = 20'000;

    explicit LineTrace(int capacity = DefaultCapacity, QObject* parent = nullptr);

    // Times of later exchanges count from here.
    void startOperation();
    // Opens an operation with a row giving its name and the date and time,
    // so that a long trace shows where each operation begins; times of later
    // exchanges count from here.
    void beginOperation(const QString& name);
    // Names the line on the row that opened the latest operation, if the
    // latest row is that one.
    void nameLine(const QString& line);
    qint64 sinceStartNs() const { return m_operationClock.nsecsElapsed(); }

    void record(Exchange exchange);
    // Marks the latest exchange unless it already carries a mark: a refused
    // write that timed out stays a timeout.
    void markLast(Mark mark);
    // Says why the latest exchange was made or what came of it, for the reader
    // of the trace: a read for a copy, a text found equal and not rewritten.
    void noteLast(const QString& note);

    int capacity() const { return m_capacity; }
    int size() const { return int(m_ring.size()); }
    // Exchanges ever recorded; the one at sequence number s is still held
    // while s >= appended() - size().
    qint64 appended() const { return m_appended; }
    // The i-th held exchange, oldest first.
    const Exchange& at(int index) const;

  signals:
    // Something was recorded or marked.
    void changed();

  private:
    int m_capacity;
    std::vector<Exchange> m_ring;
    int m_oldest = 0;
    qint64 m_appended = 0;
    QElapsedTimer m_operationClock;
};
