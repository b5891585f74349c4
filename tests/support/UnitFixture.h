#pragma once

#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "serial/SerialControl.h"
#include "serial/SerialExchange.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A simulated unit, a folder for message files, the session state and the
// serial exchange, as the program has them; the port text names the unit.
struct UnitFixture {
    explicit UnitFixture(SimulatedUnit::Options options = {}) : unit(options) {
        QString error;
        if (!unit.start(&error))
            qFatal("simulated unit: %s", qPrintable(error));
        v.Identificativo = "&C1";
        v.PortaCom = unit.devicePath().toLocal8Bit();
    }

    // A message file in the fixture's folder, selected as if clicked.
    QString selectFile(const QByteArray& content,
                       const QString& name = QStringLiteral("prova.tvo")) {
        const QString path = folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write %s", qPrintable(path));
        v.FileSelezionato = QFile::encodeName(path);
        return path;
    }

    // The file selected, as an operation is handed it.
    QString selected() const { return QFile::decodeName(v.FileSelezionato); }

    bool portOpen() const {
        return exchange.findChild<SerialControl*>(QStringLiteral("MSComm1"))->PortOpen();
    }

    SimulatedUnit unit;
    QTemporaryDir folder;
    Variabili v;
    SerialExchange exchange{v};
};
