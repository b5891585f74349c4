#pragma once

#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "serial/FormSeriale.h"
#include "serial/SerialControl.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// A simulated unit, a folder for message files, the session state and the
// serial host, as the program has them; the port text names the unit.
struct UnitFixture {
    explicit UnitFixture(SimulatedUnit::Options options = {}) : unit(options) {
        QString error;
        if (!unit.start(&error))
            qFatal("simulated unit: %s", qPrintable(error));
        v.Identificativo = "&C1";
        v.PortaCom = unit.devicePath().toLocal8Bit();
        seriale = std::make_unique<FormSeriale>(v);
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

    bool portOpen() const {
        return seriale->findChild<SerialControl*>(QStringLiteral("MSComm1"))->PortOpen();
    }

    SimulatedUnit unit;
    QTemporaryDir folder;
    Variabili v;
    std::unique_ptr<FormSeriale> seriale;
};
