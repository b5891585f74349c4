// The menu "Strumenti" of the main window and the operations it adds:
// comparing the file with the unit, sending only the differing texts, the
// diagnosis of the line and the setting for a line that echoes.
#include "ui/main/FormScriveMessaggi.h"

#include "core/Variabili.h"
#include "device/CompareTexts.h"
#include "device/UnitBackup.h"
#include "device/WriteDifferingTexts.h"
#include "files/LocalFileName.h"
#include "serial/SerialExchange.h"
#include "ui/diagnosis/LineDiagnosisWindow.h"
#include "ui/main/ComparisonWindow.h"
#include "ui/main/NoteLine.h"
#include "ui/main/PortChooser.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStandardPaths>
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
    tools->addSeparator();
    m_diagnosisAction = tools->addAction(QStringLiteral("&Diagnosi della linea"), this,
                                         &FormScriveMessaggi::diagnoseLine);
    m_echoAction = tools->addAction(QStringLiteral("Linea con &eco"));
    m_echoAction->setCheckable(true);
    connect(m_echoAction, &QAction::toggled, this, &FormScriveMessaggi::setLineEchoes);
    tools->addSeparator();
    // Their keys work where they always did (Alt+Down in the port box, F12
    // anywhere); the menu shows them without taking them over.
    tools->addAction(QStringLiteral("&Porte presenti\tAlt+Giù"), this, [this] {
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
        DisabilitaComandi();
        TextComparison comparison;
        const OperationResult result = CompareTexts(m_v, m_exchange, *this, comparison);
        AbilitaComandi();
        if (result != OperationResult::Succeeded)
            return;
        if (!m_comparison)
            m_comparison = new ComparisonWindow(this);
        m_comparison->showComparison(
            LocalFileName::readable(
                QFileInfo(LocalFileName::decode(m_v.FileSelezionato)).fileName()),
            comparison);
    });
}

void FormScriveMessaggi::sendOnlyDifferingTexts() {
    runMenuOperation([this] {
        if (m_v.FileSelezionato.isEmpty()) {
            showSending(QStringLiteral("Devi selezionare un file"));
            showOutcome(QStringLiteral("Cliccane uno dalla lista in alto a destra"));
            return;
        }
        // Every run keeps a copy of what the unit held, named by date, time
        // and identifier, in the user's data folder.
        const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                          QStringLiteral("/copie"));
        if (!folder.mkpath(QStringLiteral("."))) {
            showSending(QStringLiteral("Nulla è stato scritto"));
            showOutcome(QStringLiteral("Non si può creare la cartella delle copie %1")
                            .arg(QDir::toNativeSeparators(folder.path())));
            return;
        }
        const QDateTime now = QDateTime::currentDateTime();
        DifferingWriteOptions options;
        options.copyPath = QDir::toNativeSeparators(
            folder.filePath(UnitBackup::fileName(m_v.Identificativo, now)));
        options.copyComment = UnitBackup::comment(m_v, now);
        DisabilitaComandi();
        DifferingWriteSummary summary;
        writeDifferingTexts(m_v, m_exchange, *this, options, summary);
        if (summary.written > 0)
            unitWritten();
        if (summary.copySaved)
            showSending(QStringLiteral("Copia dei testi di prima: %1").arg(options.copyPath));
        AbilitaComandi();
    });
}

void FormScriveMessaggi::diagnoseLine() {
    runMenuOperation([this] {
        DisabilitaComandi();
        if (!m_diagnosis)
            m_diagnosis = new LineDiagnosisWindow(this);
        m_diagnosis->run(m_v, m_exchange);
        AbilitaComandi();
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
