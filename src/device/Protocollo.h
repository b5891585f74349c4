#pragma once

#include <QByteArray>

// The unit's command frames and the checks of its replies. Frames begin with
// the identifier, whatever its length; replies are judged at fixed positions.
namespace Protocollo {

constexpr qint16 LunghezzaRispostaTest = 6;
constexpr qint16 LunghezzaRispostaScrittura = 7;
constexpr qint16 LunghezzaRispostaLettura = 24;
constexpr int LunghezzaTesto = 16;
constexpr int LunghezzaRecord = 3 + LunghezzaTesto;

QByteArray frameTest(const QByteArray& identificativo);
// The record is cut or space-padded to 19 characters: address and text.
QByteArray frameScrittura(const QByteArray& identificativo, const QByteArray& record);
QByteArray corpoLettura(const QByteArray& indirizzo);
QByteArray frameLettura(const QByteArray& identificativo, const QByteArray& indirizzo);

// The reply of a test without its first three characters, and its verb.
QByteArray rispostaTestSenzaPrefisso(const QByteArray& risposta);
QByteArray verboTest(const QByteArray& rispostaSenzaPrefisso);
bool presente(const QByteArray& verbo);
// Character 6 of a write reply is "R".
bool scritturaConfermata(const QByteArray& risposta);
// A read reply of a unit that answers properly leaves a text of exactly
// LunghezzaTesto characters. Only the length is judged: what stands before the
// text is the unit's own business.
bool letturaValida(const QByteArray& risposta);
// A read reply without its first seven characters.
QByteArray testoLetto(const QByteArray& risposta);

} // namespace Protocollo
