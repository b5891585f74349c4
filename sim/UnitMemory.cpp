#include "UnitMemory.h"

#include <QFile>
#include <QSaveFile>

namespace {

QByteArray fitted(const QByteArray& text) {
    QByteArray result = text.left(UnitMemory::TextLength);
    result.append(UnitMemory::TextLength - result.size(), ' ');
    return result;
}

} // namespace

int parseAddress(QByteArrayView digits) {
    if (digits.size() != 3)
        return -1;
    int address = 0;
    for (const char digit : digits) {
        if (digit < '0' || digit > '9')
            return -1;
        address = address * 10 + (digit - '0');
    }
    return UnitMemory::isAddress(address) ? address : -1;
}

UnitMemory::UnitMemory() {
    m_texts.fill(QByteArray(TextLength, ' '));
}

QByteArray UnitMemory::text(int address) const {
    return isAddress(address) ? m_texts[address] : QByteArray();
}

bool UnitMemory::setText(int address, const QByteArray& text) {
    if (!isAddress(address))
        return false;
    m_texts[address] = fitted(text);
    return true;
}

bool UnitMemory::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Impossibile leggere il file di memoria %1: %2")
                     .arg(path, file.errorString());
        return false;
    }
    UnitMemory loaded = *this;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.endsWith('\r'))
            line.chop(1);
        const int address = parseAddress(line.left(3));
        if (address >= 0)
            loaded.setText(address, line.mid(3));
    }
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Errore durante la lettura del file di memoria %1: %2")
                     .arg(path, file.errorString());
        return false;
    }
    *this = loaded;
    return true;
}

bool UnitMemory::save(const QString& path, QString* error) const {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        for (int address = 0; address < Texts; ++address) {
            file.write(QByteArray::number(address).rightJustified(3, '0') + m_texts[address] +
                       "\r\n");
        }
        if (file.commit())
            return true;
    }
    *error = QStringLiteral("Impossibile scrivere il file di memoria %1: %2")
                 .arg(path, file.errorString());
    return false;
}
