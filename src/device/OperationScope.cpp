#include "device/OperationScope.h"

#include "serial/SerialExchange.h"

OperationScope::OperationScope(SerialExchange& exchange, const QString& heading)
    : m_exchange(exchange) {
    m_exchange.trace().beginOperation(heading);
}

OperationScope::~OperationScope() {
    m_exchange.ChiudiSeriale();
}

bool OperationScope::open() {
    return m_exchange.ApriSeriale();
}

PortFailure OperationScope::openFailure() const {
    return m_exchange.lastFailure();
}
