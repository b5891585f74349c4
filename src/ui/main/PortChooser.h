#pragma once

#include <QList>
#include <QObject>

class QAction;
class QLineEdit;

// Offers the serial ports present in a list under the port box: Alt+Down or
// F4 in the box, or its context menu (right click). The list is read afresh
// each time it opens; choosing an entry puts its path into the box as if it
// had been typed, unless the box is read-only. The box's tooltip shows its
// whole text, which the narrow box cannot. Typing in the box is left as it is.
// The list ends with how to name a line through the network, which no list
// can offer.
class PortChooser : public QObject {
    Q_OBJECT
  public:
    explicit PortChooser(QLineEdit* box);

    // Opens the list under the box without waiting for a choice, so that an
    // operation running meanwhile goes on.
    void showList();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // One entry per port present; choosing one fills the box.
    QList<QAction*> portActions(QObject* owner);
    void showContextMenu(const QPoint& globalPos);
    void updateToolTip();

    QLineEdit* m_box;
};
