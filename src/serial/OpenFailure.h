#pragma once

#include "serial/PortHolders.h"

#include <QList>
#include <QSerialPort>
#include <QString>

// Why a port could not be opened and what to do, in one line for the
// operator: not there (with the ports present), no permission (group and
// login), in use (by which program), or else the system's own reason.
QString explainOpenFailure(const QString& device, QSerialPort::SerialPortError error,
                           const QString& systemReason);

// The "in use" line for the given holders; ModemManager and brltty, the usual
// takers of USB adapters, come with what to do about them.
QString inUseMessage(const QString& device, const QList<PortHolder>& holders);
