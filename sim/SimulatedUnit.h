#pragma once

#include "PseudoTerminal.h"
#include "UnitLink.h"
#include "UnitMemory.h"
#include "UnitOptions.h"
#include "UnitProtocol.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

class QSocketNotifier;
class ReplyLine;

// A Tarvo display unit behind a pseudo-terminal: programs open devicePath()
// as their serial port. Runs on the thread's event loop and never blocks, so
// a test can drive it and the program under test on the same thread.
class SimulatedUnit : public QObject {
    Q_OBJECT
  public:
    using Options = UnitOptions;

    explicit SimulatedUnit(Options options = {}, QObject* parent = nullptr);
    ~SimulatedUnit() override;

    // Loads the memory file if one is set, opens the pseudo-terminal and
    // starts answering. A unit starts once; false with the reason otherwise.
    bool start(QString* error = nullptr);
    bool isRunning() const { return m_pty.isOpen(); }
    // The slave side, e.g. /dev/pts/3; empty before start().
    QString devicePath() const { return m_devicePath; }
    // The stable name of the port when options().publishLink is set; empty
    // otherwise and once the unit has vanished.
    QString linkPath() const { return m_link.path(); }

    Options options() const { return m_options; }
    // Takes effect from the next frame; the memory file is read only by
    // start(). False with the reason for options that make no sense.
    bool setOptions(const Options& options, QString* error = nullptr);

    QByteArray text(int address) const { return m_memory.text(address); }
    bool setText(int address, const QByteArray& text) { return m_memory.setText(address, text); }
    bool saveMemory(const QString& path, QString* error = nullptr) const;

    // Complete frames received so far (silent or not), and the frames
    // themselves with their CR when options().keepFrames is set.
    int framesReceived() const { return m_protocol.framesReceived(); }
    int writesReceived() const { return m_protocol.writesReceived(); }
    QByteArrayList frames() const { return m_frames; }

    // The unit disappears as if its process had been killed: both sides of
    // the pseudo-terminal close, so a program holding the port sees a hang-up,
    // and its link goes.
    void vanish();

  signals:
    void frameReceived(const QByteArray& frame);
    void replySent(const QByteArray& reply);

  private:
    void readMaster();
    void take(char byte);
    void frameComplete();
    qint64 byteNs() const;

    Options m_options;
    UnitMemory m_memory;
    UnitProtocol m_protocol;
    QElapsedTimer m_clock;
    PseudoTerminal m_pty;
    UnitLink m_link;
    QString m_devicePath;
    bool m_started = false;
    QSocketNotifier* m_readable = nullptr;
    ReplyLine* m_replies = nullptr;
    QByteArray m_incoming;
    bool m_incomingOverflowed = false;
    qint64 m_frameStartNs = 0;
    qint64 m_lineFreeNs = 0;
    QByteArrayList m_frames;
};
