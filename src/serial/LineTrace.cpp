#include "serial/LineTrace.h"

#include <utility>

LineTrace::LineTrace(int capacity, QObject* parent)
    : QObject(parent), m_capacity(qMax(1, capacity)) {
    m_ring.reserve(size_t(m_capacity));
    m_operationClock.start();
}

void LineTrace::startOperation() {
    m_operationClock.start();
}

void LineTrace::beginOperation(const QString& name) {
    Exchange opening;
    opening.operation = name;
    opening.startedAt = QDateTime::currentDateTime();
    record(std::move(opening));
    startOperation();
}

void LineTrace::nameLine(const QString& line) {
    if (m_ring.empty())
        return;
    Exchange& last = m_ring[size_t((m_oldest + size() - 1) % size())];
    if (last.operation.isEmpty())
        return;
    last.line = line;
    emit changed();
}

void LineTrace::record(Exchange exchange) {
    if (size() < m_capacity) {
        m_ring.push_back(std::move(exchange));
    } else {
        m_ring[size_t(m_oldest)] = std::move(exchange);
        m_oldest = (m_oldest + 1) % m_capacity;
    }
    ++m_appended;
    emit changed();
}

void LineTrace::markLast(Mark mark) {
    if (m_ring.empty())
        return;
    Exchange& last = m_ring[size_t((m_oldest + size() - 1) % size())];
    if (last.mark != Mark::None)
        return;
    last.mark = mark;
    emit changed();
}

void LineTrace::noteLast(const QString& note) {
    if (m_ring.empty())
        return;
    m_ring[size_t((m_oldest + size() - 1) % size())].note = note;
    emit changed();
}

const LineTrace::Exchange& LineTrace::at(int index) const {
    return m_ring[size_t((m_oldest + index) % size())];
}
