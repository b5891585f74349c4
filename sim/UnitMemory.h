#pragma once

#include <QByteArray>
#include <QString>

#include <array>

// The unit's text memory: 512 texts of 16 bytes, all blank at first.
class UnitMemory {
  public:
    static constexpr int Texts = 512;
    static constexpr int TextLength = 16;

    UnitMemory();

    static bool isAddress(int address) { return address >= 0 && address < Texts; }

    // The 16 bytes at the address; empty for an address outside the memory.
    QByteArray text(int address) const;
    // Stores the bytes cut or space-padded to 16; false for a bad address.
    bool setText(int address, const QByteArray& text);

    // Every line whose first three characters are an address 000..511 sets
    // that address to the next 16 bytes of the line, space-padded; other
    // lines are skipped, so a message file serves. Lines end in LF or CR LF.
    // On failure the memory is left as it was.
    bool load(const QString& path, QString* error);
    // Writes 512 lines of address and text, each ending in CR LF.
    bool save(const QString& path, QString* error) const;

  private:
    std::array<QByteArray, Texts> m_texts;
};

// The address in three decimal digits, or -1 when they are not digits or name
// no address of the memory.
int parseAddress(QByteArrayView digits);
