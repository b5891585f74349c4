#include "LeggiFileDaProgrammare.h"

#include "ProgrammingLine.h"

LeggiFileDaProgrammare::LeggiFileDaProgrammare(const QString& path) : m_reader(path) {}

std::optional<QByteArray> LeggiFileDaProgrammare::next() {
    if (!m_started) {
        m_started = true;
        if (!m_reader.open(0))
            return std::nullopt;
    }
    while (auto line = m_reader.nextLine(RecordLayout::recordLength)) {
        switch (judgeProgrammingLine(*line).kind) {
        case ProgrammingLineKind::Terminator:
            m_reader.close();
            return std::nullopt;
        case ProgrammingLineKind::Message:
            return messageRecord(*line);
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
