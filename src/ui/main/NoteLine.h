#pragma once

#include <QLineEdit>

// A note beside the operation's own texts, under the status boxes: what the
// program found that the operator may want to know (another program holding
// the port). Read-only, hidden while empty, and whole in its tooltip when it
// is wider than the line.
class NoteLine : public QLineEdit {
    Q_OBJECT
  public:
    explicit NoteLine(QWidget* parent = nullptr);

    void showNote(const QString& text);
    // Empties and hides the line, at the start of each operation.
    void clearNote();
};
