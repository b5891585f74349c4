#pragma once

#include "serial/NetworkLine.h"
#include "serial/PortFailure.h"
#include "serial/PortHolders.h"

#include <QList>
#include <QSerialPort>
#include <QString>

// Every text the serial layer shows the operator about a port, in one place.

// Why a port could not be opened and what to do, in one line for the
// operator: not there (with the ports present), no permission, in use (by
// which program, or left in exclusive use), or else the system's reason in
// Italian; with its kind. What to check is the platform's own (PortAdvice).
PortFailure explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                               const QString& systemReason);

// The programs that hold a port: "cat (pid 1234), screen (pid 1240)".
QString holderNames(const QList<PortHolder>& holders);

// Why the port failed, in Italian whatever the locale: from the system's
// error number behind Qt's text when there is one, else from the error kind.
QString portErrorReason(QSerialPort::SerialPortError error, const QString& systemText);

// The device refuses a new opening (exclusive use) and no holder is in sight.
QString exclusiveUseLeft(const QString& device);

// Other programs that hold the port open while a reply went missing.
QString otherHoldersNote(const QList<PortHolder>& holders);
// Programs of other users that name the port on their command line.
QString likelyHoldersNote(const QList<PortHolder>& holders);
// Another reader took bytes of a reply, and this user sees no program that
// holds the port: it may be another user's.
QString unseenReaderNote();

// The port box names a file, a folder or anything else that is no device.
QString notASerialPort(const QString& device);

// The port box names no port.
QString invalidPortText(const QString& text);
QString portNumberOutOfRange(int number);

// An open port that refuses the line settings, or stops working; whether the
// device seems unplugged (gone, or failing as a vanished one does).
QString settingsRefused(const QString& device, const QString& settings, const QString& reason);
QString connectionLost(const QString& device, const QString& reason, bool unplugged);

// Which line an operation goes through, for the heading of its trace: "su
// /dev/ttyUSB0", or the network line with what it leaves to the server.
QString lineHeading(const QString& device);

// A line through the network that could not be opened (wasOpen false) or
// stopped working: refused, not found, unreachable, silent, or closed by the
// server, with its address.
QString networkFailureText(const NetworkFailure& failure, bool wasOpen);
