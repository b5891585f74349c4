#pragma once

#include "LineReader.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The layout common to both message-file readers: line 1 is the comment, the
// lines after it are the body, and the file's last line is never handed out.
// The file is closed as soon as reading stops, and at destruction.
class MessageFileReader {
  public:
    explicit MessageFileReader(const QString& path);

    // Opens the file and reads line 1, keeping at most commentLength of its
    // bytes. False when the file cannot be opened or read, or is empty (error()
    // says which); true otherwise, also for a one-line file, which has no comment.
    bool open(qsizetype commentLength);
    // The comment line; nullopt before open() and for a one-line file.
    const std::optional<QByteArray>& comment() const { return m_comment; }
    // The next body line, at most maxLength bytes of it. nullopt once the last
    // line of the file is reached (that line is dropped) or reading failed; the
    // file is then closed.
    std::optional<QByteArray> nextLine(qsizetype maxLength);
    // The file's last line, at most maxLength bytes of it, once nextLine() has
    // reached it; nullopt before then and for a one-line file.
    const std::optional<QByteArray>& lastLine() const { return m_lastLine; }
    void close() { m_lines.close(); }
    bool isOpen() const { return m_lines.isOpen(); }
    QString error() const;

  private:
    LineReader m_lines;
    std::optional<QByteArray> m_comment;
    std::optional<QByteArray> m_lastLine;
    QString m_emptyError;
};
