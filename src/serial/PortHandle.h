#pragma once

#include <QSerialPort>

#include <utility>

// What QSerialPort::handle() gives for an open port: a file descriptor on
// POSIX systems, a HANDLE on Windows.
using PortHandle = decltype(std::declval<const QSerialPort&>().handle());
