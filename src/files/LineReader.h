#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

// Reads a file line by line without loading it whole. A line ends at CR LF, at
// LF alone or at CR alone; the line end is not part of the line. Bytes are
// passed through unchanged.
class LineReader {
  public:
    struct Line {
        // The line's first bytes, at most the length asked for.
        QByteArray text;
        // True when nothing is left in the file after this line and its line end.
        bool last = false;
    };

    // path as LocalFileName holds it; blockSize is how many bytes each read of
    // the file asks for.
    explicit LineReader(const QString& path, qsizetype blockSize = 64 * 1024);

    // Opens the file for reading; false, with error() set, when it cannot.
    bool open();
    // The next line, keeping at most maxLength of its bytes (the rest of the
    // line is read past). nullopt when no byte is left or reading failed.
    std::optional<Line> read(qsizetype maxLength);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    QString path() const { return m_path; }
    // Empty unless opening or reading failed: a sentence naming the file.
    QString error() const { return m_error; }

  private:
    // Makes sure an unread byte waits in the buffer; false at the end of the
    // file or on a read error (then m_error is set and the file closed).
    bool fill();

    QString m_path;
    QFile m_file;
    qsizetype m_blockSize;
    QByteArray m_buffer;
    qsizetype m_position = 0;
    QString m_error;
};
