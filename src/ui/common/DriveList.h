#pragma once

#include <QComboBox>
#include <QString>

// The drive list: a combo box of the mounted volumes that can be read (valid
// and ready), the root volume first. It starts on the volume that holds the
// process's current directory; choosing another one emits its root path.
class DriveList : public QComboBox {
    Q_OBJECT
  public:
    explicit DriveList(QWidget* parent = nullptr);

    // The root path of the chosen volume.
    QString drive() const;
    // The chosen volume's current folder: the process's current folder when it
    // lies on that volume, otherwise the volume's root.
    QString currentFolder() const;

  signals:
    void driveChanged(const QString& rootPath);
};
