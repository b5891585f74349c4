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
    bool isRunning() const { return pty_.isOpen(); }
    // The slave side, e.g. /dev/pts/3; empty before start().
    QString devicePath() const { return devicePath_; }
    // The stable name of the port when options().publishLink is set; empty
    // otherwise and once the unit has vanished.
    QString linkPath() const { return link_.path(); }

    Options options() const { return options_; }
    // Takes effect from the next frame; the memory file is read only by
    // start(). False with the reason for options that make no sense.
    bool setOptions(const Options& options, QString* error = nullptr);

    QByteArray text(int address) const { return memory_.text(address); }
    bool setText(int address, const QByteArray& text) { return memory_.setText(address, text); }
    bool saveMemory(const QString& path, QString* error = nullptr) const;

    // Complete frames received so far (silent or not), and the frames
    // themselves with their CR when options().keepFrames is set.
    int framesReceived() const { return protocol_.framesReceived(); }
    int writesReceived() const { return protocol_.writesReceived(); }
    QByteArrayList frames() const { return frames_; }

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

    Options options_;
    UnitMemory memory_;
    UnitProtocol protocol_;
    QElapsedTimer clock_;
    PseudoTerminal pty_;
    UnitLink link_;
    QString devicePath_;
    bool started_ = false;
    QSocketNotifier* readable_ = nullptr;
    ReplyLine* replies_ = nullptr;
    QByteArray incoming_;
    bool incomingOverflowed_ = false;
    qint64 frameStartNs_ = 0;
    qint64 lineFreeNs_ = 0;
    QByteArrayList frames_;
};
