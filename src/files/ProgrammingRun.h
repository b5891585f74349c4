#pragma once

#include "ProgrammingLine.h"

#include <array>
#include <span>
#include <vector>

// What programming does with a body, line after line: which lines it sends,
// which it passes over, where it stops, and which lines send an address that
// an earlier line sends too (the unit keeps the later text). One pass, O(lines),
// reusing its storage from one run to the next.
class ProgrammingRun {
  public:
    struct Line {
        // The earlier line sending the same address, or -1.
        int duplicateOf = -1;
        // The terminator line itself or a line after it, which programming
        // never reads.
        bool fromTerminatorOn = false;
    };

    void follow(std::span<const ProgrammingLine> lines);

    const Line& line(qsizetype index) const { return m_lines[size_t(index)]; }
    // The first terminator line, or -1.
    int terminator() const { return m_terminator; }
    int sent() const { return m_sent; }
    // Lines before the terminator that programming reads and passes over.
    int passedOver() const { return m_passedOver; }
    // Lines after the terminator line.
    int neverRead() const { return m_neverRead; }

  private:
    std::vector<Line> m_lines;
    std::array<int, RecordLayout::addressCount> m_firstLineOf{};
    int m_terminator = -1;
    int m_sent = 0;
    int m_passedOver = 0;
    int m_neverRead = 0;
};
