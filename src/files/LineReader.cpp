#include "LineReader.h"

#include "FileErrorReason.h"
#include "LocalFileName.h"

#include <algorithm>

LineReader::LineReader(const QString& path, qsizetype blockSize)
    : m_path(path), m_blockSize(std::max<qsizetype>(blockSize, 1)) {}

bool LineReader::open() {
    const SystemError error =
        LocalFileName::open(m_file, m_path, QIODevice::ReadOnly | QIODevice::Unbuffered);
    if (!error.failed())
        return true;
    m_error = QStringLiteral("Impossibile aprire il file %1: %2")
                  .arg(LocalFileName::readable(m_path), fileErrorReason(m_path, error, QString()));
    return false;
}

void LineReader::close() {
    m_file.close();
    m_buffer.clear();
    m_position = 0;
}

bool LineReader::fill() {
    if (m_position < m_buffer.size())
        return true;
    if (!m_file.isOpen())
        return false;
    m_buffer.resize(m_blockSize);
    m_position = 0;
    clearLastSystemError();
    const qint64 got = m_file.read(m_buffer.data(), m_blockSize);
    const SystemError error = lastSystemError();
    if (got > 0) {
        m_buffer.truncate(got);
        return true;
    }
    m_buffer.clear();
    if (got < 0) {
        m_error = QStringLiteral("Errore di lettura del file %1: %2")
                      .arg(LocalFileName::readable(m_path),
                           fileErrorReason(m_path, error, m_file.errorString()));
        close();
    }
    return false;
}

std::optional<LineReader::Line> LineReader::read(qsizetype maxLength) {
    if (!fill())
        return std::nullopt;
    Line line;
    for (;;) {
        if (!fill()) {
            if (!m_error.isEmpty())
                return std::nullopt;
            line.last = true;
            return line;
        }
        const char* begin = m_buffer.constData() + m_position;
        const char* end = m_buffer.constData() + m_buffer.size();
        const char* lineEnd =
            std::find_if(begin, end, [](char c) { return c == '\r' || c == '\n'; });
        const qsizetype room = maxLength - line.text.size();
        line.text.append(begin, std::min<qsizetype>(lineEnd - begin, room));
        m_position += lineEnd - begin;
        if (lineEnd != end)
            break;
    }
    const char terminator = m_buffer.at(m_position++);
    if (terminator == '\r' && fill() && m_buffer.at(m_position) == '\n')
        ++m_position;
    if (!fill()) {
        if (!m_error.isEmpty())
            return std::nullopt;
        line.last = true;
    }
    return line;
}
