#include "device/FileTexts.h"

#include "core/Variabili.h"
#include "files/LeggiFileDaProgrammare.h"

FileTexts FileTexts::read(const QString& path) {
    FileTexts texts;
    LeggiFileDaProgrammare reader(path);
    int count = 0;
    while (const std::optional<QByteArray> record = reader.next()) {
        if (++count > Variabili::DimensioneMessaggi) {
            reader.stop();
            texts.tooMany = true;
            return texts;
        }
        texts.records[size_t(record->left(3).toInt())] = *record;
    }
    texts.error = reader.error();
    for (int address = 0; address < AddressCount; ++address)
        if (texts.sends(address))
            texts.addresses += address;
    return texts;
}

QString FileTexts::comparisonNote(int address, const QByteArray& unitText, bool skipping) const {
    if (!sends(address))
        return {};
    if (text(address) != unitText)
        return QStringLiteral("diverso dal file");
    return skipping ? QStringLiteral("uguale al file, non riscritto")
                    : QStringLiteral("uguale al file");
}
