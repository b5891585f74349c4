#pragma once

#include "Controls.h"
#include "UnitFixture.h"
#include "app/ProgramWindows.h"
#include "ui/main/FormScriveMessaggi.h"

#include <QLineEdit>
#include <QPushButton>

// The main window beside a simulated unit, as the program runs them, for the
// tests that drive the operations through the real window.
struct WindowFixture : UnitFixture {
    explicit WindowFixture(SimulatedUnit::Options options = {}) : UnitFixture(options) {
        window = std::make_unique<FormScriveMessaggi>(v, exchange, programWindows(v));
        box("Text3")->setText(unit.devicePath());
        window->show();
    }

    template <typename Control> Control* control(const char* name) const {
        return controlOf<Control>(*window, name);
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }

    QByteArray text1() const { return box("Text1")->text().toLatin1(); }
    QByteArray text2() const { return box("Text2")->text().toLatin1(); }

    std::unique_ptr<FormScriveMessaggi> window;
};
