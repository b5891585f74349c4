#pragma once

#include "serial/SerialExchange.h"

#include <QWidget>

class QLabel;
struct Variabili;

// The hidden window that hosts the serial session: loaded at startup, never
// shown, unloaded at the end. The port, the exchange and the trace are its
// SerialExchange's; the window's own part is its labels and its unloading.
class FormSeriale : public QWidget {
    Q_OBJECT
  public:
    explicit FormSeriale(Variabili& v, QWidget* parent = nullptr);

    SerialExchange& exchange() { return *m_exchange; }

    bool ApriSeriale() { return m_exchange->ApriSeriale(); }
    void ChiudiSeriale() { m_exchange->ChiudiSeriale(); }
    void InviaAllaSeriale() { m_exchange->InviaAllaSeriale(); }
    bool AspettaSerialeLibera() { return m_exchange->AspettaSerialeLibera(); }
    void AspettaRisposta() { m_exchange->AspettaRisposta(); }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();
    void Form_QueryUnload();

    Variabili& m_v;
    // A child, so that unloading the window releases the port with it.
    SerialExchange* m_exchange;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
};
