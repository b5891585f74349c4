#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTableWidget;
struct TextComparison;

// "Confronto con il TARVO": the addresses at which the unit holds another
// text than the file, both texts between « and » so that spaces show, and the
// counts. "Copia" puts the list on the clipboard; "Chiudi" and Escape close it.
class ComparisonWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ComparisonWindow(QWidget* parent = nullptr);

    void showComparison(const QString& fileName, const TextComparison& comparison);
    // Texts were written to the unit after this comparison: it says so above
    // the list, which may no longer be what the unit holds.
    void markOutdated();
    // The list as it is copied: a line per differing address, then the counts.
    QString listText() const;

  private:
    QLabel* m_summary;
    QLabel* m_outdated;
    QTableWidget* m_table;
    QPushButton* m_copy;
    QPushButton* m_close;
    QString m_counts;
};
