#pragma once

#include <QAbstractTableModel>
#include <QTimer>

class LineTrace;

// The trace of the line as a table. While live, it follows the trace in
// batches: rows that left the ring are removed from the top and new ones
// appended at the bottom a few times a second, so a fast run costs the view
// no more than a slow one and nothing is redrawn in full. While not live
// (its window hidden) it does no work at all.
class LineTraceModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit LineTraceModel(const LineTrace& trace, QObject* parent = nullptr);

    void setLive(bool live);
    // Brings the rows up to date with the trace now.
    void catchUp();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    void traceChanged();

    const LineTrace& m_trace;
    QTimer m_batch;
    bool m_live = false;
    // Sequence numbers (see LineTrace::appended()) of the first row and of
    // the one after the last.
    qint64 m_first = 0;
    qint64 m_end = 0;
};
