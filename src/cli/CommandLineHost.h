#pragma once

#include "device/OperationHost.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <optional>

struct Variabili;

// Runs a device operation for tarvo-cli: keeps the status texts to report
// them, acknowledges an error at once, shows progress on a terminal, and saves
// what was read with the same writer as the save window.
class CommandLineHost : public OperationHost {
  public:
    // savePath and comment are used by offerForSaving(); progress goes to
    // `progressOut` only when it is a terminal.
    CommandLineHost(Variabili& v, QString savePath, QByteArray comment, std::FILE* progressOut);

    QString sending() const { return m_sending; }
    QString outcome() const { return m_outcome; }
    // The error the run stopped on, empty when none, and why and where.
    QString error() const { return m_error; }
    const std::optional<RunFailure>& failure() const { return m_failure; }
    // A finding beside the texts, empty when none.
    QString note() const { return m_note; }
    // Why the file read could not be saved, empty when it was (or was not asked).
    QString saveError() const { return m_saveError; }
    bool saved() const { return m_saved; }
    // Where the run stood at its last report of progress, and at the one
    // before (an exchange refused unsent is reported too); none before them.
    const std::optional<RunProgress>& lastProgress() const { return m_lastProgress; }
    const std::optional<RunProgress>& progressBeforeLast() const { return m_progressBeforeLast; }
    // Ends the progress line on the terminal, if one was drawn.
    void endProgress();

    void showSending(const QString& text) override { m_sending = text; }
    void showOutcome(const QString& text) override { m_outcome = text; }
    void showFailure(const RunFailure& failure) override { m_failure = failure; }
    void showNote(const QString& note) override { m_note = note; }
    void showError(const QString& testoErrore) override { m_error = testoErrore; }
    void awaitAcknowledgement() override {}
    void showProgress(const RunProgress& progress) override;
    void DisabilitaComandi() override {}
    void AbilitaComandi() override {}
    void offerForSaving() override;

  private:
    Variabili& m_v;
    QString m_savePath;
    QByteArray m_comment;
    std::FILE* m_progressOut;
    bool m_progressShown = false;
    std::optional<RunProgress> m_lastProgress;
    std::optional<RunProgress> m_progressBeforeLast;
    QString m_sending;
    QString m_outcome;
    QString m_error;
    std::optional<RunFailure> m_failure;
    QString m_note;
    QString m_saveError;
    bool m_saved = false;
};
