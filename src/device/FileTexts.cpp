#include "device/FileTexts.h"

#include "device/ProgrammingFile.h"

FileTexts FileTexts::of(const ProgrammingFile& file) {
    FileTexts texts;
    for (const ProgrammingRecord& record : file.records)
        texts.records[size_t(record.address)] = record.record;
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
