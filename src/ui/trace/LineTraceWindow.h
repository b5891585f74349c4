#pragma once

#include <QWidget>

class LineTrace;
class LineTraceModel;
class QFileDialog;
class QLabel;
class QPushButton;
class QStackedWidget;
class QTableView;

// "Traccia della linea": the exchanges on the line, live while it is shown.
// The operator can copy the trace or save it to a file chosen in the window's
// own file chooser; nothing is written anywhere else. F12 closes it.
class LineTraceWindow : public QWidget {
    Q_OBJECT
  public:
    explicit LineTraceWindow(const LineTrace& trace, QWidget* parent = nullptr);

    // Writes the trace to the file; false with the reason in the window.
    bool saveTo(const QString& path);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void copy();
    void chooseFile();
    void fileChosen(const QString& path);
    void showTrace();
    void showChooserAgain();
    void say(const QString& text);

    const LineTrace& m_trace;
    LineTraceModel* m_model;
    QStackedWidget* m_pages;
    QTableView* m_table;
    QPushButton* m_copy;
    QPushButton* m_save;
    QFileDialog* m_chooser = nullptr;
    QLabel* m_message;
    QString m_replaceConfirmed;
    bool m_followTail = true;
};
