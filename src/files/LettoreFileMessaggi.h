#pragma once

#include "LettoreRighe.h"

#include <QByteArray>
#include <QString>

#include <optional>

// The layout common to both message-file readers: line 1 is the comment, the
// lines after it are the body, and the file's last line is never handed out.
// The file is closed as soon as reading stops, and at destruction.
class LettoreFileMessaggi {
  public:
    explicit LettoreFileMessaggi(const QString& percorso);

    // Opens the file and reads line 1, keeping at most lunghezzaCommento of its
    // bytes. False when the file cannot be opened or read, or is empty (errore()
    // says which); true otherwise, also for a one-line file, which has no comment.
    bool apri(qsizetype lunghezzaCommento);
    // The comment line; nullopt before apri() and for a one-line file.
    const std::optional<QByteArray>& commento() const { return commento_; }
    // The next body line, at most lunghezzaMassima bytes of it. nullopt once the
    // last line of the file is reached (that line is dropped) or reading failed;
    // the file is then closed.
    std::optional<QByteArray> prossimaRiga(qsizetype lunghezzaMassima);
    void chiudi() { righe_.chiudi(); }
    bool isOpen() const { return righe_.isOpen(); }
    double fractionRead() const { return righe_.fractionRead(); }
    QString errore() const;

  private:
    LettoreRighe righe_;
    std::optional<QByteArray> commento_;
    QString erroreVuoto_;
};
