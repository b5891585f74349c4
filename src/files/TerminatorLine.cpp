#include "TerminatorLine.h"

bool isTerminatorLine(QByteArrayView line) {
    return line.startsWith("END") || line.startsWith("end");
}
