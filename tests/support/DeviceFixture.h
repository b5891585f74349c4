#pragma once

#include "SimulatedUnit.h"
#include "core/Variabili.h"
#include "serial/FormSeriale.h"
#include "serial/SerialControl.h"
#include "ui/FormScriveMessaggi.h"

#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The main window and the serial host beside a simulated unit, as the program
// runs them, for the tests of the device operations.
struct DeviceFixture {
    explicit DeviceFixture(SimulatedUnit::Options options = {}) : unit(options) {
        QString error;
        if (!unit.start(&error))
            qFatal("simulated unit: %s", qPrintable(error));
        v.Identificativo = "&C1";
        seriale = std::make_unique<FormSeriale>(v);
        finestra = std::make_unique<FormScriveMessaggi>(v, *seriale);
        finestra->Text3->setText(unit.devicePath());
        finestra->show();
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

    QByteArray text1() const { return finestra->Text1->text().toLatin1(); }
    QByteArray text2() const { return finestra->Text2->text().toLatin1(); }

    SimulatedUnit unit;
    QTemporaryDir folder;
    Variabili v;
    std::unique_ptr<FormSeriale> seriale;
    std::unique_ptr<FormScriveMessaggi> finestra;
};
