#include "ProgrammingRun.h"

void ProgrammingRun::follow(std::span<const ProgrammingLine> lines) {
    m_lines.assign(lines.size(), Line{});
    m_firstLineOf.fill(-1);
    m_terminator = -1;
    m_sent = m_passedOver = m_neverRead = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        Line& line = m_lines[i];
        if (m_terminator >= 0) {
            line.fromTerminatorOn = true;
            ++m_neverRead;
            continue;
        }
        const ProgrammingLine& judged = lines[i];
        if (judged.kind == ProgrammingLineKind::Terminator) {
            m_terminator = int(i);
            line.fromTerminatorOn = true;
            continue;
        }
        if (judged.kind != ProgrammingLineKind::Message) {
            ++m_passedOver;
            continue;
        }
        ++m_sent;
        int& first = m_firstLineOf[size_t(judged.address)];
        if (first < 0)
            first = int(i);
        else
            line.duplicateOf = first;
    }
}
