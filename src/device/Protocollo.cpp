#include "device/Protocollo.h"

namespace Protocollo {

QByteArray frameTest(const QByteArray& identificativo) {
    return identificativo + "TA\r";
}

QByteArray frameScrittura(const QByteArray& identificativo, const QByteArray& record) {
    return identificativo + "0W016" + record.left(LunghezzaRecord).leftJustified(LunghezzaRecord) +
           '\r';
}

QByteArray corpoLettura(const QByteArray& indirizzo) {
    return "0R" + indirizzo.left(3);
}

QByteArray frameLettura(const QByteArray& identificativo, const QByteArray& indirizzo) {
    return identificativo + corpoLettura(indirizzo) + '\r';
}

QByteArray rispostaTestSenzaPrefisso(const QByteArray& risposta) {
    return risposta.mid(3);
}

QByteArray verboTest(const QByteArray& rispostaSenzaPrefisso) {
    return rispostaSenzaPrefisso.left(2);
}

bool presente(const QByteArray& verbo) {
    return verbo == "TA";
}

bool scritturaConfermata(const QByteArray& risposta) {
    return risposta.size() >= 6 && risposta[5] == 'R';
}

bool letturaValida(const QByteArray& risposta) {
    return testoLetto(risposta).size() == LunghezzaTesto;
}

QByteArray testoLetto(const QByteArray& risposta) {
    return risposta.mid(7);
}

} // namespace Protocollo
