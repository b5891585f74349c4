#pragma once

#include "ui/common/WindowOpeners.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;
class QTreeWidget;

// "Copie dell'unità": the copies the program keeps of the units' texts,
// newest first, with date and time, identifier, port and comment. For the
// copy selected it opens the editor, compares the copy with the unit or puts
// it back; the main window does each, as it does its own commands, and turns
// the three off while any operation runs.
class UnitCopiesWindow : public QWidget, public CopiesView {
    Q_OBJECT
  public:
    explicit UnitCopiesWindow(CopyCommands commands, QWidget* parent = nullptr);

    void present() override;
    // Reads the copies folder again, keeping the copy selected if it is
    // still there, else selecting the newest.
    void refresh() override;
    void setCommandsEnabled(bool enabled) override;
    // A question naming both identifiers, "Annulla" chosen by default.
    bool confirmAnotherUnit(const QByteArray& copyUnit, const QByteArray& unit) override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QString selectedPath() const;
    void updateButtons();

    CopyCommands m_commands;
    QLabel* m_folder;
    QTreeWidget* m_list;
    QPushButton* m_openInEditor;
    QPushButton* m_compare;
    QPushButton* m_putBack;
    bool m_commandsEnabled = true;
    // A button turned off for a run passes the focus on; it gets it back.
    QPointer<QWidget> m_focusBeforeRun;
};
