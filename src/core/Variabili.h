#pragma once

#include <QByteArray>
#include <QDeadlineTimer>

#include <array>

// The session state shared by every window and operation. One instance lives
// for the whole run; it is created by the startup code and handed around by
// reference. Texts are 8-bit byte strings, exactly as they travel on the line
// and sit in the message files.
struct Variabili {
    static constexpr int MessageSlots = 591;

    QByteArray Identificativo;
    QByteArray Risposta;
    bool SerialeOccupata = false;
    bool ConfermaErrore = false;
    QByteArray Comando;
    qint16 LunghezzaRisposta = 0;
    // Deadlines run on a monotonic clock, so no wait misbehaves at midnight or
    // when the system time is changed.
    QDeadlineTimer FinePausa;
    QDeadlineTimer ScadenzaRisposta;
    QByteArray PortaCom;
    QByteArray FileSelezionato; // a local path, in the file system's own 8-bit encoding
    QByteArray Stato;
    QByteArray TestoErrore;
    QByteArray CommentoDaSalvare;
    std::array<QByteArray, MessageSlots> Messaggi;
    qint16 NumeroDaFormattare = 0;
    QByteArray NumeroFormattato;
    QByteArray TestoMessaggi;
    QByteArray VerboRisposta;

    // Set when the operator asks to close the program while an operation runs:
    // every wait returns at once, so the operation ends at its next wait and
    // the program can then close.
    bool closeRequested = false;
    // Set when a signal asks the program to stop: the exchange under way ends
    // normally and no further frame is sent; closeRequested follows once the
    // line is free.
    bool stopRequested = false;
};
