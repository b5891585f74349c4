#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>

// Files for the tests: lines joined into file content, files written and read
// back whole, a temporary folder that numbers the files written into it, and
// how many descriptors of this process are open on a file.

// Each line followed by lineEnd, as the program writes files.
inline QByteArray joinLines(const QByteArrayList& lines, const QByteArray& lineEnd = "\r\n") {
    QByteArray content;
    for (const QByteArray& line : lines)
        content += line + lineEnd;
    return content;
}

// A message file with each kind of line: the comment, messages, a separator,
// an empty line, a note, an address above 511, the terminator and a line after it.
inline QByteArrayList sampleFileLines() {
    return {"Ingresso magazzino, versione 2",
            "000BENVENUTI       *",
            "---",
            "001PORTA APERTA    controllare il sensore",
            "",
            "002ALLARME",
            "nota: testi provvisori",
            "600FUORI RANGE",
            "end",
            "511DOPO LA FINE"};
}

// Writes the file whole; a test cannot go on without it, so failing stops the run.
inline void writeFileAt(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The whole content; empty when the file cannot be read.
inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// How many of this process's descriptors are open on the file.
inline int openDescriptors(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    const QDir descriptors(QStringLiteral("/proc/self/fd"));
    int open = 0;
    for (const QString& name : descriptors.entryList(QDir::AllEntries | QDir::System))
        open += QFile::symLinkTarget(descriptors.filePath(name)) == target ? 1 : 0;
    return open;
}

class TempFolder {
  public:
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }
    // Writes content to a file of its own, "1.tvo", "2.tvo", ..., and returns its path.
    QString write(const QByteArray& content) {
        return write(QString::number(++m_counter) + QStringLiteral(".tvo"), content);
    }
    QString write(const QString& name, const QByteArray& content) {
        const QString path = filePath(name);
        writeFileAt(path, content);
        return path;
    }

    // Removes everything in the folder, also what a test made read-only.
    void clear() const {
        const QDir dir(path());
        for (const QString& name :
             dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
            const QString entry = dir.filePath(name);
            QFile::setPermissions(entry, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFileInfo(entry).isDir() ? QDir(entry).removeRecursively() : QFile::remove(entry);
        }
    }

  private:
    QTemporaryDir m_dir;
    int m_counter = 0;
};
