#pragma once

#include "device/OperationHost.h"
#include "device/RunProgress.h"
#include "ui/common/WindowOpeners.h"

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class ComparisonWindow;
class DirectoryList;
class DriveList;
class FileList;
class SerialExchange;
class NoteLine;
class QAction;
class QLabel;
class QMenuBar;
class QLineEdit;
class QPushButton;
class RunProgressBar;
class StatusPacer;
struct Variabili;

// The main window: the operator picks a message file, types the unit's
// identifier and the port, and starts each operation with its button. It is
// the operations' host: they show what is sent in Text1 and outcomes in Text2,
// hold errors on the acknowledgement button Command4 and offer what was read
// in the save window.
class FormScriveMessaggi : public QWidget, public OperationHost {
    Q_OBJECT
  public:
    FormScriveMessaggi(Variabili& v, SerialExchange& exchange, WindowOpeners windows,
                       QWidget* parent = nullptr);

    void DisabilitaComandi() override;
    void AbilitaComandi() override;

    // Unloads the window: the closing steps run once more unless a close
    // request has already closed it.
    void unload();

    // True while an operation runs in one of the click handlers.
    bool operationRunning() const { return m_operationRunning; }
    // Where the latest run stood at its last exchange sent; nullopt when it
    // reported no progress.
    std::optional<RunProgress> lastRunProgress() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void showSending(const QString& text) override;
    void showOutcome(const QString& text) override;
    void showFailure(const RunFailure& failure) override;
    void showNote(const QString& note) override;
    void showError(const QString& error) override;
    void awaitAcknowledgement() override;
    void showProgress(const RunProgress& progress) override;
    void offerForSaving() override;

    QLabel* Label2;
    DriveList* Drive1;
    DirectoryList* Dir1;
    FileList* File1;
    QLineEdit* Text1;
    QLineEdit* Text2;
    QPushButton* Command5;
    QLabel* Label1;
    QLineEdit* IdStart;
    QPushButton* Command4;
    QLabel* Label3;
    QLineEdit* Text3;
    QPushButton* Command3;
    QPushButton* Command1;
    QPushButton* LeggiTesti;
    QPushButton* Command2;
    // Beside the window's own controls, in one row under the status boxes:
    // the progress of a long run and a note on what the run found, each
    // shown only while it has something to say.
    RunProgressBar* m_progress;
    NoteLine* m_note;
    StatusPacer* m_status;

    void createControls();
    void createNoteRow();
    void connectEvents();
    void Form_Load();
    std::array<QWidget*, 8> commands() const;
    // Copies a box's text into the session state as Windows-1252 bytes; a
    // character that code page cannot hold is refused with a message.
    void copyText(QLineEdit* box, QByteArray& target, const QString& where);

    void IdStart_Change();
    void Text3_Change();
    void Drive1_Change();
    void Dir1_Change(const QString& path);
    void File1_Click(const QString& name);
    void Command1_Click();
    void Command5_Click();
    void Command3_Click();
    void LeggiTesti_Click();
    void Command4_Click();
    void Command2_Click();

    // Runs one operation unless another one is running, then closes the
    // window if a close request came in meanwhile.
    template <typename Operation> void runOperation(Operation operation);
    // The same, for the operations of the menu, defined in their own file.
    void runMenuOperation(const std::function<void()>& operation);
    // Every run, the presence test included, talks to the unit it started
    // with, on the port it opened, with the echo setting it read: while it
    // runs, nothing changes the identifier, the port or that setting.
    void lockTheLine(bool locked);
    void closingSteps();
    // F12: the trace of the line in a window of its own.
    void toggleLineTrace();

    // The menu "Strumenti" above the controls' area: comparing the file with
    // the unit, sending only the differing texts, the port list and the trace.
    QMenuBar* createMenuBar();
    void compareWithUnit();
    // Compares the file at path with the unit and shows the comparison.
    void compareFile(const QString& path);
    void sendOnlyDifferingTexts();
    void diagnoseLine();
    // "Linea con eco": every exchange expects its frame back before the
    // reply; the port box says so while it is on.
    void setLineEchoes(bool echoes);
    // After a presence test without an answer, the note line points to the
    // diagnosis.
    void suggestDiagnosis();
    QAction* m_compareAction = nullptr;
    QAction* m_sendDifferingAction = nullptr;
    QAction* m_diagnosisAction = nullptr;
    QAction* m_echoAction = nullptr;
    QAction* m_portsAction = nullptr;
    QLabel* m_echoIndicator = nullptr;
    ComparisonWindow* m_comparison = nullptr;
    // A comparison shown earlier no longer tells what the unit holds once
    // texts have been written to it.
    void unitWritten();
    // Strumenti → "Copie dell'unità": the window lists the program's copies
    // and asks for these commands, off while a run is under way.
    void showUnitCopies();
    void setCopiesEnabled(bool enabled);
    void openCopyInEditor(const QString& path);
    void compareCopy(const QString& path);
    void putCopyBack(const QString& path);
    QAction* m_copiesAction = nullptr;
    CopiesView* m_copies = nullptr;
    // After a copy failed to go back: which copy, and how to put it back again.
    void showRestoreRetry(const QString& copy, const QString& freshCopy);

    Variabili& m_v;
    SerialExchange& m_exchange;
    const WindowOpeners m_windows;
    bool m_operationRunning = false;
    std::optional<RunProgress> m_lastProgress;
    std::optional<RunProgress> m_progressBeforeLast;
    bool m_unloaded = false;
    QWidget* m_lineTrace = nullptr;
};
