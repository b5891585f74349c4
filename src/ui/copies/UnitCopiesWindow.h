#pragma once

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
class UnitCopiesWindow : public QWidget {
    Q_OBJECT
  public:
    // What each command does with the path of the copy selected.
    struct Commands {
        std::function<void(const QString&)> openInEditor;
        std::function<void(const QString&)> compareWithUnit;
        std::function<void(const QString&)> putBack;
    };
    explicit UnitCopiesWindow(Commands commands, QWidget* parent = nullptr);

    // Reads the copies folder again, keeping the copy selected if it is
    // still there, else selecting the newest.
    void refresh();
    void setCommandsEnabled(bool enabled);

  protected:
    void changeEvent(QEvent* event) override;

  private:
    QString selectedPath() const;
    void updateButtons();

    Commands m_commands;
    QLabel* m_folder;
    QTreeWidget* m_list;
    QPushButton* m_openInEditor;
    QPushButton* m_compare;
    QPushButton* m_putBack;
    bool m_commandsEnabled = true;
    // A button turned off for a run passes the focus on; it gets it back.
    QPointer<QWidget> m_focusBeforeRun;
};
