// The menu "Strumenti" of the main window and the operations it adds:
// comparing the file with the unit, sending only the differing texts, the
// diagnosis of the line and the setting for a line that echoes.
#include "ui/main/FormScriveMessaggi.h"

#include "core/Variabili.h"
#include "device/CompareTexts.h"
#include "device/WriteDifferingTexts.h"
#include "files/LocalFileName.h"
#include "serial/SerialExchange.h"
#include "ui/main/ComparisonWindow.h"
#include "ui/main/NoteLine.h"
#include "ui/main/PortChooser.h"

#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QToolButton>

QMenuBar* FormScriveMessaggi::createMenuBar() {
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu* tools = menuBar->addMenu(QStringLiteral("&Strumenti"));
    tools->setObjectName(QStringLiteral("Strumenti"));
    m_compareAction = tools->addAction(QStringLiteral("&Confronta con il TARVO"), this,
                                       &FormScriveMessaggi::compareWithUnit);
    m_sendDifferingAction = tools->addAction(QStringLiteral("&Invia solo i testi diversi"), this,
                                             &FormScriveMessaggi::sendOnlyDifferingTexts);
    m_copiesAction = tools->addAction(QStringLiteral("C&opie dell'unità"), this,
                                      &FormScriveMessaggi::showUnitCopies);
    tools->addSeparator();
    m_diagnosisAction = tools->addAction(QStringLiteral("&Diagnosi della linea"), this,
                                         &FormScriveMessaggi::diagnoseLine);
    m_echoAction = tools->addAction(QStringLiteral("Linea con &eco"));
    m_echoAction->setCheckable(true);
    connect(m_echoAction, &QAction::toggled, this, &FormScriveMessaggi::setLineEchoes);
    tools->addSeparator();
    // Their keys work where they always did (Alt+Down in the port box, F12
    // anywhere); the menu shows them without taking them over.
    m_portsAction = tools->addAction(QStringLiteral("&Porte presenti\tAlt+Giù"), this, [this] {
        Text3->setFocus();
        if (auto* chooser = Text3->findChild<PortChooser*>())
            chooser->showList();
    });
    tools->addAction(QStringLiteral("&Traccia della linea\tF12"), this,
                     &FormScriveMessaggi::toggleLineTrace);
    // The bar's own button for entries that do not fit, which speaks nothing
    // unless named.
    if (auto* more = menuBar->findChild<QToolButton*>(QStringLiteral("qt_menubar_ext_button")))
        more->setAccessibleName(QStringLiteral("Altre voci del menu"));
    menuBar->setGeometry(0, 0, width(), menuBar->sizeHint().height());
    return menuBar;
}

void FormScriveMessaggi::compareWithUnit() {
    runMenuOperation([this] {
        if (m_v.FileSelezionato.isEmpty()) {
            showSending(QStringLiteral("Devi selezionare un file"));
            showOutcome(QStringLiteral("Cliccane uno dalla lista in alto a destra"));
            return;
        }
        compareFile(LocalFileName::decode(m_v.FileSelezionato));
    });
}

void FormScriveMessaggi::compareFile(const QString& path) {
    TextComparison comparison;
    if (!CompareTexts(m_v, m_exchange, *this, path, comparison).done())
        return;
    if (!m_comparison)
        m_comparison = new ComparisonWindow(this);
    m_comparison->showComparison(LocalFileName::readable(QFileInfo(path).fileName()), comparison);
}

void FormScriveMessaggi::sendOnlyDifferingTexts() {
    runMenuOperation([this] {
        if (m_v.FileSelezionato.isEmpty()) {
            showSending(QStringLiteral("Devi selezionare un file"));
            showOutcome(QStringLiteral("Cliccane uno dalla lista in alto a destra"));
            return;
        }
        // Every run keeps a copy of what the unit held among the program's
        // copies.
        DifferingWriteSummary summary;
        writeDifferingTexts(m_v, m_exchange, *this, LocalFileName::decode(m_v.FileSelezionato),
                            DifferingWriteOptions::programCopy(m_v, QDateTime::currentDateTime()),
                            summary);
        if (summary.written > 0)
            unitWritten();
        if (!summary.savedCopy.isEmpty())
            showSending(QStringLiteral("Copia dei testi di prima: %1").arg(summary.savedCopy));
    });
}

void FormScriveMessaggi::diagnoseLine() {
    runMenuOperation([this] {
        const CommandsDisabled commandsOff(*this);
        m_windows.lineDiagnosis(m_v, m_exchange, this);
    });
}

void FormScriveMessaggi::setLineEchoes(bool echoes) {
    m_exchange.setLineEchoes(echoes);
    m_echoIndicator->setVisible(echoes);
}

void FormScriveMessaggi::suggestDiagnosis() {
    const QString hint = QStringLiteral("Per sapere perché: Strumenti → Diagnosi della linea");
    m_note->showNote(m_note->text().isEmpty() ? hint
                                              : m_note->text() + QStringLiteral(" — ") + hint);
}
