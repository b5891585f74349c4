#include "serial/PortHolders.h"

// Windows names no program that holds a port: a port in use refuses a second
// opening (ERROR_ACCESS_DENIED), and no other reader can take its bytes.
QList<PortHolder> portHolders(const QString&) {
    return {};
}

QList<PortHolder> likelyHolders(const QString&) {
    return {};
}
