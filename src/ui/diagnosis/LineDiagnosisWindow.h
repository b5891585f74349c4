#pragma once

#include "device/LineFinding.h"

#include <QStringList>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class SerialExchange;
struct Variabili;
namespace LineDiagnosis {
struct Step;
}

// "Diagnosi della linea": the port, the identifier and whether the line is
// taken to echo; the steps of the diagnosis as they go, its finding, and
// "Copia", which puts all of it on the clipboard. "Chiudi" and Escape close it.
class LineDiagnosisWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LineDiagnosisWindow(QWidget* parent = nullptr);

    // Shows the window and runs the diagnosis on the port and for the
    // identifier of the session state; returns once the finding is shown.
    LineFinding run(Variabili& v, SerialExchange& exchange);
    // What "Copia" puts on the clipboard: the heading, the steps, the finding.
    QString reportText() const;

  private:
    void showStep(const LineDiagnosis::Step& step);

    QLabel* m_heading;
    QPlainTextEdit* m_steps;
    QLabel* m_finding;
    QPushButton* m_copy;
    QPushButton* m_close;
    QStringList m_stepLines;
};
