#pragma once

#include "device/LineFinding.h"

#include <QByteArrayList>

#include <cstdio>

class SerialExchange;
struct Variabili;

// diagnosi: runs the diagnosis of the line, printing each step on `out` once
// it is over; the finding is the caller's to print.
LineFinding diagnoseForCli(Variabili& v, SerialExchange& exchange,
                           const QByteArrayList& moreIdentifiers, std::FILE* out);

// 0 when the unit answers, 2 when the port cannot be opened, 1 for every
// other finding.
int exitStatusOf(const LineFinding& finding);
