#include "ui/main/FormScriveMessaggi.h"

#include "core/EventWait.h"
#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "device/PresenceTest.h"
#include "device/ProgrammaTesti.h"
#include "device/ReadAllTexts.h"
#include "files/LocalFileName.h"
#include "serial/LineTrace.h"
#include "serial/SerialExchange.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"
#include "ui/common/RejectedCharacter.h"
#include "ui/main/ComparisonWindow.h"
#include "ui/main/NoteLine.h"
#include "ui/main/OperationGuard.h"
#include "ui/main/PortChooser.h"
#include "ui/main/RunProgressBar.h"
#include "ui/main/StatusPacer.h"

#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalBlocker>

#include <QAction>
#include <algorithm>
#include <utility>

FormScriveMessaggi::FormScriveMessaggi(Variabili& variabili, SerialExchange& exchange,
                                       WindowOpeners windows, QWidget* parent)
    : QWidget(parent), m_v(variabili), m_exchange(exchange), m_windows(std::move(windows)) {
    createControls();
    createNoteRow();
    m_status = new StatusPacer(Text1, Text2, m_progress, this);
    connect(&m_exchange, &SerialExchange::pauseBegins, m_status, &StatusPacer::pauseBegins);
    connect(&m_exchange, &SerialExchange::replyTakersFound, m_note, &NoteLine::showNote);
    connectEvents();
    Form_Load();
}

void FormScriveMessaggi::connectEvents() {
    connect(IdStart, &QLineEdit::textChanged, this, &FormScriveMessaggi::IdStart_Change);
    connect(Text3, &QLineEdit::textChanged, this, &FormScriveMessaggi::Text3_Change);
    new PortChooser(Text3);
    connect(Drive1, &DriveList::driveChanged, this, &FormScriveMessaggi::Drive1_Change);
    connect(Dir1, &DirectoryList::pathChanged, this, &FormScriveMessaggi::Dir1_Change);
    connect(Dir1, &DirectoryList::refused, this, &FormScriveMessaggi::showOutcome);
    // The lists follow a folder that went away also during an operation, whose
    // texts the status box keeps.
    connect(Dir1, &DirectoryList::movedUp, this, [this](const QString& reason) {
        if (!m_operationRunning)
            showOutcome(reason);
    });
    connect(File1, &FileList::fileSelected, this, &FormScriveMessaggi::File1_Click);
    connect(Command1, &QPushButton::clicked, this, &FormScriveMessaggi::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &FormScriveMessaggi::Command5_Click);
    connect(Command3, &QPushButton::clicked, this, &FormScriveMessaggi::Command3_Click);
    connect(LeggiTesti, &QPushButton::clicked, this, &FormScriveMessaggi::LeggiTesti_Click);
    connect(Command4, &QPushButton::clicked, this, &FormScriveMessaggi::Command4_Click);
    connect(Command2, &QPushButton::clicked, this, &FormScriveMessaggi::Command2_Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F12), this), &QShortcut::activated, this,
            &FormScriveMessaggi::toggleLineTrace);
}

void FormScriveMessaggi::toggleLineTrace() {
    if (!m_lineTrace)
        m_lineTrace = m_windows.lineTrace(m_exchange.trace(), this);
    if (m_lineTrace->isVisible()) {
        m_lineTrace->close();
        return;
    }
    m_lineTrace->show();
    m_lineTrace->raise();
}

void FormScriveMessaggi::Form_Load() {
    m_v.FileSelezionato.clear();
    showSending(QStringLiteral("Seleziona un file xxxxx.TVO per programmare"));
    showOutcome(QStringLiteral("o Clicca Pulsante Test funzionamento"));
    m_v.Stato = "aspetta";
    IdStart->setText(Windows1252::decode(m_v.Identificativo));
    Text3->setText(QStringLiteral("X"));
}

void FormScriveMessaggi::DisabilitaComandi() {
    for (QWidget* command : commands())
        command->setEnabled(false);
    for (QAction* action : {m_compareAction, m_sendDifferingAction, m_diagnosisAction})
        action->setEnabled(false);
    setCopiesEnabled(false);
}

void FormScriveMessaggi::AbilitaComandi() {
    for (QWidget* command : commands())
        command->setEnabled(true);
    for (QAction* action : {m_compareAction, m_sendDifferingAction, m_diagnosisAction})
        action->setEnabled(true);
    setCopiesEnabled(true);
}

void FormScriveMessaggi::showSending(const QString& text) {
    m_status->showSending(text);
}

void FormScriveMessaggi::showOutcome(const QString& text) {
    m_status->showOutcome(text);
}

// Why and where the run stopped, and what it left, on the note line under the
// status boxes, which keep their short texts; the programs that may have taken
// the replies follow.
void FormScriveMessaggi::showFailure(const RunFailure& failure) {
    QString note = failure.describe();
    if (const PortFailure& takers = m_exchange.replyTakers(); takers.happened())
        note += QStringLiteral(" — ") + takers.text;
    m_note->showNote(note);
}

void FormScriveMessaggi::showNote(const QString& note) {
    m_note->showNote(note);
}

void FormScriveMessaggi::showError(const QString& error) {
    // The boxes and the indicator show where the run stopped while the error
    // waits.
    m_status->flush();
    Command4->setVisible(true);
    Command4->setText(error + QStringLiteral(" Clicca Qui"));
}

void FormScriveMessaggi::awaitAcknowledgement() {
    m_status->flush();
    EventWait::until([this] { return m_v.ConfermaErrore || m_v.closeRequested; });
    Command4->setVisible(false);
}

void FormScriveMessaggi::showProgress(const RunProgress& progress) {
    m_progressBeforeLast = std::exchange(m_lastProgress, progress);
    m_status->showProgress(progress);
}

std::optional<RunProgress> FormScriveMessaggi::lastRunProgress() const {
    // An exchange refused for a stop reported its progress too, unsent.
    const LineTrace& trace = m_exchange.trace();
    if (!m_lastProgress || trace.size() == 0 ||
        trace.at(trace.size() - 1).mark != LineTrace::Mark::NotSent)
        return m_lastProgress;
    if (m_progressBeforeLast)
        return m_progressBeforeLast;
    RunProgress unsent = *m_lastProgress;
    unsent.done = 0;
    return unsent;
}

void FormScriveMessaggi::offerForSaving() {
    m_status->flush();
    m_windows.save(this);
}

std::array<QWidget*, 8> FormScriveMessaggi::commands() const {
    return {Command1, Command2, Command3, Command5, LeggiTesti, Drive1, Dir1, File1};
}

void FormScriveMessaggi::copyText(QLineEdit* box, QByteArray& target, const QString& where) {
    const std::optional<QByteArray> text = Windows1252::encode(box->text());
    if (text) {
        target = *text;
        return;
    }
    const QString refused =
        firstRejectedCharacter(box->text()).value_or(RejectedCharacter{}).character;
    showOutcome(QStringLiteral("Il carattere %1 non si può usare %2: non è stato accettato")
                    .arg(refused, where));
    // The box goes back to the value in use, so that what it shows is what is sent.
    const int cursor = box->cursorPosition() - int(refused.size());
    const QSignalBlocker blocker(box);
    box->setText(Windows1252::decode(target));
    box->setCursorPosition(std::max(0, cursor));
}

void FormScriveMessaggi::IdStart_Change() {
    copyText(IdStart, m_v.Identificativo, QStringLiteral("nell'identificativo"));
}

void FormScriveMessaggi::Text3_Change() {
    copyText(Text3, m_v.PortaCom, QStringLiteral("nella porta COM"));
}

void FormScriveMessaggi::Drive1_Change() {
    Dir1->enter(Drive1->currentFolder());
}

void FormScriveMessaggi::Dir1_Change(const QString& path) {
    File1->setPath(path);
}

void FormScriveMessaggi::File1_Click(const QString& name) {
    m_v.FileSelezionato = LocalFileName::encode(QDir(File1->path()).filePath(name));
}

template <typename Operation> void FormScriveMessaggi::runOperation(Operation operation) {
    // The waits of an operation run this window's events: a click on another
    // command meanwhile (the presence test leaves them enabled) does nothing.
    if (m_operationRunning)
        return;
    {
        const OperationGuard guard(m_operationRunning);
        m_lastProgress.reset();
        m_progressBeforeLast.reset();
        m_note->clearNote();
        m_status->setPaced(true);
        lockTheLine(true);
        operation();
        lockTheLine(false);
        m_status->setPaced(false);
    }
    m_progress->hide();
    if (m_v.closeRequested)
        closingSteps();
}

void FormScriveMessaggi::lockTheLine(bool locked) {
    IdStart->setReadOnly(locked);
    Text3->setReadOnly(locked);
    m_echoAction->setEnabled(!locked);
    m_portsAction->setEnabled(!locked);
}

void FormScriveMessaggi::runMenuOperation(const std::function<void()>& operation) {
    runOperation<const std::function<void()>&>(operation);
}

void FormScriveMessaggi::Command1_Click() {
    runOperation([this] {
        if (!m_v.FileSelezionato.isEmpty()) {
            // A file refused, or a port that did not open, sent nothing.
            const OperationOutcome outcome =
                ProgrammaTesti(m_v, m_exchange, *this, LocalFileName::decode(m_v.FileSelezionato));
            if (outcome.ending != OperationOutcome::Ending::CannotStart)
                unitWritten();
        } else {
            showSending(QStringLiteral("Devi selezionare un file"));
            showOutcome(QStringLiteral("Cliccane uno dalla lista in alto a destra"));
        }
    });
}

void FormScriveMessaggi::unitWritten() {
    if (m_comparison)
        m_comparison->markOutdated();
}

void FormScriveMessaggi::Command5_Click() {
    runOperation([this] {
        const CommandsDisabled commandsOff(*this);
        if (!m_v.FileSelezionato.isEmpty()) {
            m_windows.editor(this);
        } else {
            showSending(QStringLiteral("Devi selezionare un file"));
            showOutcome(QStringLiteral("Cliccane uno dalla lista "));
        }
    });
}

void FormScriveMessaggi::Command3_Click() {
    runOperation([this] {
        if (runPresenceTest(m_v, m_exchange, *this).ending == OperationOutcome::Ending::Failed)
            suggestDiagnosis();
    });
}

void FormScriveMessaggi::LeggiTesti_Click() {
    runOperation([this] { readAllTexts(m_v, m_exchange, *this); });
}

void FormScriveMessaggi::Command4_Click() {
    m_v.ConfermaErrore = true;
}

void FormScriveMessaggi::Command2_Click() {
    if (m_operationRunning) {
        m_v.closeRequested = true;
        return;
    }
    closingSteps();
}

void FormScriveMessaggi::closeEvent(QCloseEvent* event) {
    // A close request during an operation is kept: the operation's waits end
    // at once, and the window closes when the operation has returned.
    if (m_operationRunning) {
        m_v.closeRequested = true;
        event->ignore();
        return;
    }
    closingSteps();
    m_unloaded = true;
    event->accept();
}

void FormScriveMessaggi::unload() {
    if (!m_unloaded)
        close();
}

void FormScriveMessaggi::closingSteps() {
    // Every file is opened and closed within one operation, so none is open here.
    m_v.Stato = "Finisci";
    hide();
}
