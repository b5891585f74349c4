#include "device/FileTexts.h"

#include "files/LeggiFileDaProgrammare.h"
#include "files/RecordLayout.h"

FileTexts FileTexts::read(const QString& path) {
    FileTexts texts;
    LeggiFileDaProgrammare reader(path);
    while (const std::optional<QByteArray> record = reader.next()) {
        ++texts.recordCount;
        texts.records[size_t(record->left(RecordLayout::addressDigits).toInt())] = *record;
    }
    texts.error = reader.error();
    for (int address = 0; address < RecordLayout::addressCount; ++address)
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
