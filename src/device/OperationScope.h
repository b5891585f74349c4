#pragma once

#include "serial/PortFailure.h"

#include <QString>

class SerialExchange;

// The frame of every device operation on the port: its heading in the line
// trace, the opening of the port, and the port given back when the scope
// ends, whatever ended the operation.
class OperationScope {
  public:
    // Starts the operation in the trace under `heading`.
    OperationScope(SerialExchange& exchange, const QString& heading);
    ~OperationScope();
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    // Opens the port; false when it cannot be opened, openFailure() then
    // says why.
    bool open();
    PortFailure openFailure() const;

  private:
    SerialExchange& m_exchange;
};
