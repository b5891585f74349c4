#pragma once

#include "device/OperationHost.h"

#include <QList>
#include <QStringList>
#include <QString>

#include <functional>

// Stands in for whoever runs a device operation: keeps what the operation
// showed, and acknowledges each error at once after noting what was shown.
class RecordingHost : public OperationHost {
  public:
    // What the operator saw while an error waited for the acknowledgement.
    struct Acknowledgement {
        QString error;
        QString text1;
        QString text2;
        bool commandsDisabled = false;
    };

    QString text1;
    QString text2;
    QList<Acknowledgement> acknowledgements;
    bool commandsEnabled = true;
    QList<RunProgress> progress;
    QList<RunFailure> failures;
    QStringList notes;
    int offers = 0;
    // Runs when the body is offered for saving, while the operation waits.
    std::function<void()> onOfferForSaving;

    void showSending(const QString& text) override { text1 = text; }
    void showOutcome(const QString& text) override { text2 = text; }
    void showFailure(const RunFailure& failure) override { failures += failure; }
    void showNote(const QString& note) override { notes += note; }
    void showError(const QString& testoErrore) override { m_error = testoErrore; }
    void awaitAcknowledgement() override {
        acknowledgements += {m_error, text1, text2, !commandsEnabled};
        m_error.clear();
    }
    void showProgress(const RunProgress& shown) override { progress += shown; }
    void DisabilitaComandi() override { commandsEnabled = false; }
    void AbilitaComandi() override { commandsEnabled = true; }
    void offerForSaving() override {
        ++offers;
        if (onOfferForSaving)
            onOfferForSaving();
    }

  private:
    QString m_error;
};
