#pragma once

#include "serial/PortHolders.h"

#include <QList>
#include <QString>

// The part of the port messages that each platform words its own way: how a
// port is named there, and what to check when one is missing, refused or
// taken (devices, groups and services on Linux; COM ports on Windows).
namespace PortAdvice {

// What to check when the port is not there, after "La porta COM5 non esiste: ".
QString whenMissing();

// Why this user may not use device, with what to do about it; empty when the
// system's permissions leave the way open.
QString whenRefused(const QString& device);

// The line for a port in use by holders; none: by a program out of sight.
QString whenInUse(const QString& device, const QList<PortHolder>& holders);

// How a port is named in the port box, with an example.
QString howToNameAPort();

} // namespace PortAdvice
