#include "ui/trace/LineTraceModel.h"

#include "serial/LineTrace.h"
#include "ui/trace/TraceFormat.h"

#include <QColor>
#include <QFont>

namespace {
constexpr int batchMs = 500;
} // namespace

LineTraceModel::LineTraceModel(const LineTrace& trace, QObject* parent)
    : QAbstractTableModel(parent), m_trace(trace) {
    m_batch.setSingleShot(true);
    m_batch.setInterval(batchMs);
    connect(&m_batch, &QTimer::timeout, this, &LineTraceModel::catchUp);
    connect(&m_trace, &LineTrace::changed, this, &LineTraceModel::traceChanged);
}

void LineTraceModel::setLive(bool live) {
    m_live = live;
    if (live)
        catchUp();
    else
        m_batch.stop();
}

void LineTraceModel::traceChanged() {
    if (m_live && !m_batch.isActive())
        m_batch.start();
}

void LineTraceModel::catchUp() {
    const qint64 held = m_trace.appended() - m_trace.size();
    const qint64 gone = qMin(held, m_end) - m_first;
    if (gone > 0) {
        beginRemoveRows({}, 0, int(gone) - 1);
        m_first += gone;
        endRemoveRows();
    }
    if (m_end < held)
        m_first = m_end = held;
    const qint64 added = m_trace.appended() - m_end;
    if (added > 0) {
        beginInsertRows({}, rowCount(), rowCount() + int(added) - 1);
        m_end += added;
        endInsertRows();
    }
    // The latest exchange may have been marked since it was shown.
    if (rowCount() > 0)
        emit dataChanged(index(rowCount() - 1, 0), index(rowCount() - 1, columnCount() - 1));
}

int LineTraceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_end - m_first);
}

int LineTraceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : TraceFormat::ColumnCount;
}

QVariant LineTraceModel::data(const QModelIndex& index, int role) const {
    // Between two batches the ring may already have dropped a row still shown.
    const qint64 position = m_first + index.row() - (m_trace.appended() - m_trace.size());
    if (!index.isValid() || position < 0 || position >= m_trace.size())
        return {};
    const LineTrace::Exchange& exchange = m_trace.at(int(position));
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return TraceFormat::field(exchange, index.column());
    case Qt::ForegroundRole:
        if (exchange.mark != LineTrace::Mark::None)
            return QColor(Qt::darkRed);
        return {};
    case Qt::FontRole:
        if (TraceFormat::opensOperation(exchange)) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    default:
        return {};
    }
}

QVariant LineTraceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return TraceFormat::heading(section);
    return {};
}
