#include "ui/editor/LineJudgements.h"

#include <QTextBlock>
#include <QTextDocument>

LineJudgements::LineJudgements(QTextDocument& document, QObject* parent)
    : QObject(parent), m_document(document) {
    // A document reports its changes only once it has a layout.
    document.documentLayout();
    connect(&document, &QTextDocument::contentsChange, this, &LineJudgements::update);
    rebuild();
}

void LineJudgements::rebuild() {
    m_lines.clear();
    m_programming.clear();
    for (QTextBlock block = m_document.begin(); block.isValid(); block = block.next()) {
        m_lines.push_back(judgeEditorLine(block.text()));
        m_programming.push_back(m_lines.back().programming);
    }
    followRun();
}

int LineJudgements::lineCount() const {
    const bool endsAfterLineEnd =
        !m_lines.empty() && m_lines.back().programming.kind == ProgrammingLineKind::Empty;
    return int(m_lines.size()) - (endsAfterLineEnd ? 1 : 0);
}

void LineJudgements::update(int position, int, int added) {
    const int newCount = m_document.blockCount();
    const int oldCount = int(m_lines.size());
    QTextBlock first = m_document.findBlock(position);
    QTextBlock last = m_document.findBlock(position + added);
    if (!first.isValid() || !last.isValid())
        last = m_document.lastBlock();
    if (!first.isValid())
        first = last;
    const int from = first.blockNumber();
    const int toNew = last.blockNumber();
    const int toOld = toNew - (newCount - oldCount);
    if (toOld < from - 1 || toOld >= oldCount) {
        rebuild();
        return;
    }

    std::vector<EditorLine> judged;
    judged.reserve(size_t(toNew - from + 1));
    for (QTextBlock block = first; block.isValid() && block.blockNumber() <= toNew;
         block = block.next())
        judged.push_back(judgeEditorLine(block.text()));

    const auto begin = m_lines.begin() + from;
    const auto end = m_lines.begin() + toOld + 1;
    if (newCount == oldCount && std::equal(judged.begin(), judged.end(), begin, end))
        return;
    const auto at = m_lines.erase(begin, end);
    m_lines.insert(at, judged.begin(), judged.end());
    const auto programmingAt =
        m_programming.erase(m_programming.begin() + from, m_programming.begin() + toOld + 1);
    std::vector<ProgrammingLine> programming;
    programming.reserve(judged.size());
    for (const EditorLine& line : judged)
        programming.push_back(line.programming);
    m_programming.insert(programmingAt, programming.begin(), programming.end());
    followRun();
}

void LineJudgements::followRun() {
    const int count = lineCount();
    m_run.follow(std::span(m_programming).first(size_t(count)));
    m_unsavable = 0;
    m_duplicates = 0;
    for (int i = 0; i < count; ++i) {
        m_unsavable += line(i).unsavableColumn >= 0;
        m_duplicates += m_run.line(i).duplicateOf >= 0;
    }
    emit changed();
}
