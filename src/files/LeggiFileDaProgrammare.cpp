#include "LeggiFileDaProgrammare.h"

#include "ProgrammingLine.h"

LeggiFileDaProgrammare::LeggiFileDaProgrammare(const QString& path) : m_reader(path) {}

std::optional<ProgrammingRecord> LeggiFileDaProgrammare::next() {
    if (!m_started) {
        m_started = true;
        if (!m_reader.open(0))
            return std::nullopt;
    }
    while (auto line = m_reader.nextLine(RecordLayout::recordLength)) {
        const ProgrammingLine judged = judgeProgrammingLine(*line);
        switch (judged.kind) {
        case ProgrammingLineKind::Terminator:
            m_reader.close();
            return std::nullopt;
        case ProgrammingLineKind::Message:
            return ProgrammingRecord{judged.address, messageRecord(*line)};
        default:
            break;
        }
    }
    return std::nullopt;
}

void LeggiFileDaProgrammare::stop() {
    m_started = true;
    m_reader.close();
}
