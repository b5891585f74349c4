#include "ui/diagnosis/LineDiagnosisWindow.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/LineDiagnosis.h"
#include "serial/SerialExchange.h"
#include "ui/common/WindowStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

LineDiagnosisWindow::LineDiagnosisWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_heading(new QLabel(this)), m_steps(new QPlainTextEdit(this)),
      m_finding(new QLabel(this)), m_copy(new QPushButton(QStringLiteral("&Copia"), this)),
      m_close(new QPushButton(QStringLiteral("C&hiudi"), this)) {
    setObjectName(QStringLiteral("DiagnosiDellaLinea"));
    setWindowTitle(QStringLiteral("Diagnosi della linea"));
    m_heading->setObjectName(QStringLiteral("intestazione"));
    m_heading->setWordWrap(true);
    m_steps->setObjectName(QStringLiteral("passi"));
    m_steps->setReadOnly(true);
    m_steps->setFont(WindowStyle::fixedFont(9));
    m_steps->setAccessibleName(QStringLiteral("Passi della diagnosi"));
    m_steps->setTabChangesFocus(true);
    m_finding->setObjectName(QStringLiteral("conclusione"));
    m_finding->setWordWrap(true);
    m_finding->setFont(WindowStyle::font(10, true));
    m_finding->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_finding->setFocusPolicy(Qt::StrongFocus);
    m_finding->setAccessibleName(QStringLiteral("Conclusione"));
    m_copy->setObjectName(QStringLiteral("copia"));
    m_close->setObjectName(QStringLiteral("chiudi"));
    connect(m_copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(reportText()); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_heading);
    layout->addWidget(m_steps, 1);
    layout->addWidget(m_finding);
    layout->addLayout(buttons);
    setTabOrder(m_steps, m_finding);
    setTabOrder(m_finding, m_copy);
    setTabOrder(m_copy, m_close);
    resize(720, 420);
}

LineFinding LineDiagnosisWindow::run(Variabili& v, SerialExchange& exchange) {
    m_heading->setText(
        QStringLiteral("Porta %1, identificativo %2, linea con eco: %3")
            .arg(Windows1252::decode(v.PortaCom), Windows1252::decode(v.Identificativo),
                 exchange.lineEchoes() ? QStringLiteral("sì") : QStringLiteral("no")));
    m_stepLines.clear();
    m_steps->clear();
    m_finding->setText(
        QStringLiteral("Diagnosi in corso, al massimo %1 s…").arg(LineDiagnosis::LimitMs / 1000));
    show();
    raise();
    activateWindow();
    const LineFinding finding = LineDiagnosis::run(
        v, exchange, {}, [this](const LineDiagnosis::Step& step) { showStep(step); });
    m_finding->setText(finding.describe());
    m_copy->setFocus();
    return finding;
}

// A step appears when it starts and is replaced by its outcome once over.
void LineDiagnosisWindow::showStep(const LineDiagnosis::Step& step) {
    if (step.heard && !m_stepLines.isEmpty())
        m_stepLines.removeLast();
    m_stepLines += step.describe();
    m_steps->setPlainText(m_stepLines.join(QLatin1Char('\n')));
}

QString LineDiagnosisWindow::reportText() const {
    return m_heading->text() + QLatin1Char('\n') + m_stepLines.join(QLatin1Char('\n')) +
           QLatin1Char('\n') + m_finding->text() + QLatin1Char('\n');
}
