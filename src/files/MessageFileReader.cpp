#include "MessageFileReader.h"

#include "LocalFileName.h"

MessageFileReader::MessageFileReader(const QString& path) : m_lines(path) {}

bool MessageFileReader::open(qsizetype commentLength) {
    if (!m_lines.open())
        return false;
    const auto first = m_lines.read(commentLength);
    if (!first) {
        if (m_lines.error().isEmpty())
            m_emptyError =
                QStringLiteral("Il file %1 è vuoto").arg(LocalFileName::readable(m_lines.path()));
        m_lines.close();
        return false;
    }
    if (first->last)
        m_lines.close();
    else
        m_comment = first->text;
    return true;
}

std::optional<QByteArray> MessageFileReader::nextLine(qsizetype maxLength) {
    if (!m_lines.isOpen())
        return std::nullopt;
    const auto line = m_lines.read(maxLength);
    if (!line || line->last) {
        if (line)
            m_lastLine = line->text;
        m_lines.close();
        return std::nullopt;
    }
    return line->text;
}

QString MessageFileReader::error() const {
    if (!m_lines.error().isEmpty())
        return m_lines.error();
    return m_emptyError;
}
