#pragma once

#include "serial/PortCatalog.h"

#include <QList>

// The units that tarvo-sim publishes in this user's folders and that run now.
QList<PortEntry> simulatedUnits();
