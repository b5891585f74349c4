#pragma once

#include "device/OperationOutcome.h"

#include <QByteArray>
#include <QList>
#include <QString>

class SerialExchange;
class OperationHost;
struct Variabili;

// An address at which the unit holds another text than the file sends.
struct TextDifference {
    int address = 0;
    QByteArray fileText;
    QByteArray unitText;
};

struct TextComparison {
    QList<TextDifference> differing;
    int equal = 0;

    // "3 testi uguali, 1 diverso".
    QString counts() const;
};

// Reads from the unit every address that the message file at `path` sends and compares
// the 16 characters with the text programming would leave there (the last
// one for a repeated address). Nothing is written to the unit. Succeeds when
// every address was read, whether the texts are equal or not.
OperationOutcome CompareTexts(Variabili& v, SerialExchange& exchange, OperationHost& host,
                              const QString& path, TextComparison& comparison);
