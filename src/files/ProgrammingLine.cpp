#include "ProgrammingLine.h"

#include "TerminatorLine.h"

namespace {

int threeDigitAddress(QByteArrayView line) {
    if (line.size() < RecordLayout::addressDigits)
        return -1;
    int value = 0;
    for (qsizetype i = 0; i < RecordLayout::addressDigits; ++i) {
        const char c = line.at(i);
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

ProgrammingLine judgeProgrammingLine(QByteArrayView line) {
    if (line.isEmpty())
        return {ProgrammingLineKind::Empty};
    if (isTerminatorLine(line))
        return {ProgrammingLineKind::Terminator};
    const int address = threeDigitAddress(line);
    if (address < 0)
        return {line.startsWith("---") ? ProgrammingLineKind::Separator
                                       : ProgrammingLineKind::NoAddress};
    if (address > RecordLayout::highestAddress)
        return {ProgrammingLineKind::AddressTooHigh, address};
    return {ProgrammingLineKind::Message, address};
}

QByteArray messageRecord(QByteArrayView line) {
    return line.first(qMin<qsizetype>(line.size(), RecordLayout::recordLength))
        .toByteArray()
        .leftJustified(RecordLayout::recordLength, ' ');
}
