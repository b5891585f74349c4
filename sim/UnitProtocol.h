#pragma once

#include "UnitMemory.h"
#include "UnitOptions.h"

#include <QByteArray>

// What the unit does with one complete frame: the test, write and read
// commands on its memory, shaped by the options (silence, refused writes,
// garbled or short replies). Knows nothing of lines or timing.
class UnitProtocol {
  public:
    explicit UnitProtocol(UnitMemory& memory) : m_memory(memory) {}

    // Handles one frame, its final CR included, and returns the reply to
    // send: empty when the unit stays silent.
    QByteArray answer(const QByteArray& frame, const UnitOptions& options);

    int framesReceived() const { return m_frames; }
    int writesReceived() const { return m_writes; }

  private:
    QByteArray reply(QByteArrayView body, const UnitOptions& options);
    bool store(QByteArrayView body);

    UnitMemory& m_memory;
    int m_frames = 0;
    int m_writes = 0;
};
