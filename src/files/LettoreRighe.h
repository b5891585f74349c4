#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <optional>

// Reads a file line by line without loading it whole. A line ends at CR LF, at
// LF alone or at CR alone; the line end is not part of the line. Bytes are
// passed through unchanged.
class LettoreRighe {
  public:
    struct Riga {
        // The line's first bytes, at most the length asked for.
        QByteArray testo;
        // True when nothing is left in the file after this line and its line end.
        bool ultima = false;
    };

    // dimensioneBlocco is how many bytes each read of the file asks for.
    explicit LettoreRighe(const QString& percorso, qsizetype dimensioneBlocco = 64 * 1024);

    // Opens the file for reading; false, with errore() set, when it cannot.
    bool apri();
    // The next line, keeping at most lunghezzaMassima of its bytes (the rest of
    // the line is read past). nullopt when no byte is left or reading failed.
    std::optional<Riga> leggi(qsizetype lunghezzaMassima);
    void chiudi();
    bool isOpen() const { return file_.isOpen(); }
    QString percorso() const { return file_.fileName(); }
    // The share of the file's bytes handed out so far, 0 to 1; 1 once closed.
    double fractionRead() const;
    // Empty unless opening or reading failed: a sentence naming the file.
    QString errore() const { return errore_; }

  private:
    // Makes sure an unread byte waits in the buffer; false at the end of the
    // file or on a read error (then errore_ is set and the file closed).
    bool riempi();

    QFile file_;
    qsizetype dimensioneBlocco_;
    QByteArray buffer_;
    qsizetype posizione_ = 0;
    QString errore_;
};
