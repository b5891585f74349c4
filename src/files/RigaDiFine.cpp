#include "RigaDiFine.h"

bool RigaDiFine(QByteArrayView riga) {
    return riga.startsWith("END") || riga.startsWith("end");
}
