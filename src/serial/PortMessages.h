#pragma once

#include "serial/NetworkLine.h"
#include "serial/PortFailure.h"
#include "serial/PortHolders.h"
#include "serial/PortPermission.h"

#include <QList>
#include <QSerialPort>
#include <QString>

// Every text the serial layer shows the operator about a port, in one place.

// Why a port could not be opened and what to do, in one line for the
// operator: not there (with the ports present), no permission (group and
// login, or the folder in the way), in use (by which program, or left in
// exclusive use), or else the system's reason in Italian; with its kind.
PortFailure explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                               const QString& systemReason);

// The "in use" line for the given holders; ModemManager and brltty, the usual
// takers of USB adapters, come with what to do about them.
QString inUseMessage(const QString& device, const QList<PortHolder>& holders);

// Why the port failed, in Italian whatever the locale: from the system's
// error number behind Qt's text when there is one, else from the error kind.
QString portErrorReason(QSerialPort::SerialPortError error, const QString& systemText);

// A folder on the way to the device that this user may not enter.
QString folderBlocksTheWay(const QString& device, const QString& folder);
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

// What keeps this user from reading and writing a device, with what to do
// about it; empty when nothing does.
QString permissionProblem(const QString& device, const PermissionFinding& finding);

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
