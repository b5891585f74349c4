#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <array>

class DirectoryList;
class DriveList;
class FileList;
class FormSeriale;
class QLabel;
class QLineEdit;
class QPushButton;
struct Variabili;

// The main window: the operator picks a message file, types the unit's
// identifier and the port, and starts each operation with its button. The
// operations write the status boxes Text1 and Text2 and use the
// acknowledgement button Command4 directly, so the controls are public.
class FormScriveMessaggi : public QWidget {
    Q_OBJECT
  public:
    FormScriveMessaggi(Variabili& v, FormSeriale& seriale, QWidget* parent = nullptr);

    void DisabilitaComandi();
    void AbilitaComandi();

    // Unloads the window: the closing steps run once more unless a close
    // request has already closed it.
    void Scarica();

    // True while an operation runs in one of the click handlers.
    bool operazioneInCorso() const { return m_operazioneInCorso; }

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

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void creaControlli();
    void collegaEventi();
    void Form_Load();
    std::array<QWidget*, 8> comandi() const;
    // Copies a box's text into the session state as Windows-1252 bytes; a
    // character that code page cannot hold is refused with a message.
    void copiaTesto(QLineEdit* casella, QByteArray& destinazione, const QString& dove);

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
    template <typename Operation> void esegui(Operation operation);
    void passiDiChiusura();

    Variabili& v;
    FormSeriale& seriale;
    bool m_operazioneInCorso = false;
    bool m_scaricata = false;
};
