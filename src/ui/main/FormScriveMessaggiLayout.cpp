// The controls of the main window: kinds, design texts, places, type and
// colours, and the keyboard focus order.
#include "ui/main/FormScriveMessaggi.h"

#include "ui/main/NoteLine.h"
#include "ui/main/RunProgressBar.h"
#include "ui/main/WrappedButton.h"
#include "ui/common/DirectoryList.h"
#include "ui/common/DriveList.h"
#include "ui/common/FileList.h"
#include "ui/common/FullTextTip.h"
#include "ui/common/SaveControls.h"
#include "ui/common/WindowStyle.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenuBar>
#include <QPushButton>

namespace {

using WindowStyle::fromTwips;

constexpr int widthTwips = 9510;
constexpr int heightTwips = 6495;
constexpr int leftTwips = 1605;
constexpr int topTwips = 1455;

template <typename Widget>
Widget* placed(Widget* widget, const char* name, int left, int top, int width, int height,
               qreal points, bool bold = false) {
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(fromTwips(left), fromTwips(top), fromTwips(width), fromTwips(height));
    widget->setFont(WindowStyle::font(points, bold));
    return widget;
}

// The labels were drawn for "MS Sans Serif"; a wider stand-in would cut their
// captions off, so it is made smaller, half a point at a time, until they fit.
void shrinkToFit(QLabel* label) {
    QFont font = label->font();
    while (font.pointSizeF() > 6 &&
           QFontMetrics(font).horizontalAdvance(label->text()) > label->contentsRect().width())
        font.setPointSizeF(font.pointSizeF() - 0.5);
    label->setFont(font);
}

} // namespace

void FormScriveMessaggi::createControls() {
    setObjectName(QStringLiteral("FormScriveMessaggi"));
    setWindowTitle(QStringLiteral("Tarvo") + QString(13, QLatin1Char(' ')) +
                   QStringLiteral("www.tarvo.example"));
    setFont(WindowStyle::font());
    move(fromTwips(leftTwips), fromTwips(topTwips));
    // The controls keep their places in an area of the design's size, below
    // the menu bar; the window is as much taller as the bar.
    QWidget* area = new QWidget(this);
    area->setObjectName(QStringLiteral("area"));
    area->setFixedSize(fromTwips(widthTwips), fromTwips(heightTwips));
    QMenuBar* menuBar = createMenuBar();
    area->move(0, menuBar->height());
    setFixedSize(area->width(), menuBar->height() + area->height());

    // Created in the order of the design, so that later controls lie on top of
    // Label2, whose lower edge runs under the drive and directory lists.
    Label2 = placed(new QLabel(QStringLiteral("Identificativo Tarvo"), area), "Label2", 0, 0, 2040,
                    315, 12);
    Drive1 = placed(new DriveList(area), "Drive1", 240, 240, 1455, 480, 13.5);
    Dir1 = placed(new DirectoryList(area), "Dir1", 1800, 240, 3615, 2250, 9.75, true);
    File1 = placed(new FileList(area), "File1", 5760, 240, 2775, 2190, 12, true);
    Text1 = placed(new QLineEdit(area), "Text1", 480, 2760, 5640, 495, 13.5);
    Text2 = placed(new QLineEdit(QStringLiteral(" "), area), "Text2", 480, 3360, 5640, 615, 13.5);
    Command5 = placed(new WrappedButton(QStringLiteral("Modifica Testi"), area), "Command5", 6600,
                      2775, 1920, 975, 13.5);
    Label1 = placed(new QLabel(QStringLiteral("Identificativo Tarvo"), area), "Label1", 525, 4275,
                    2040, 315, 12);
    IdStart =
        placed(new QLineEdit(QStringLiteral("&C1"), area), "IdStart", 2640, 4200, 690, 405, 13.5);
    Command4 = placed(new WrappedButton(QStringLiteral("Command4"), area), "Command4", 3975, 4200,
                      4950, 735, 13.5);
    Label3 = placed(new QLabel(QStringLiteral("Scegli Porta COM->"), area), "Label3", 120, 4680,
                    2415, 375, 12, true);
    Text3 = placed(new QLineEdit(area), "Text3", 2640, 4680, 495, 375, 12, true);
    // Beside the port box, shown while "Linea con eco" is on.
    m_echoIndicator = placed(new QLabel(QStringLiteral("con eco"), area), "lineaConEco", 3165, 4725,
                             780, 300, 8, true);
    m_echoIndicator->setToolTip(QStringLiteral("Strumenti → Linea con eco è attivo: ogni trama "
                                               "torna indietro prima della risposta"));
    m_echoIndicator->hide();
    Command3 = placed(new WrappedButton(QStringLiteral("Test Funzionamento"), area), "Command3",
                      480, 5160, 2295, 975, 13.5);
    Command1 = placed(new WrappedButton(QStringLiteral("Invia file al TARVO"), area), "Command1",
                      3120, 5160, 1935, 975, 13.5);
    LeggiTesti = placed(new WrappedButton(QStringLiteral("Leggi Testi dal TARVO"), area),
                        "LeggiTesti", 5550, 5175, 1890, 915, 13.5);
    Command2 = placed(new WrappedButton(QStringLiteral("Exit"), area), "Command2", 8100, 5625, 1035,
                      750, 13.5);

    for (QLabel* label : {Label2, Label1, Label3})
        shrinkToFit(label);
    // What a screen reader speaks for the boxes and lists; buttons speak
    // their captions.
    SaveControls::nameFileLists(Drive1, Dir1, File1);
    Text1->setAccessibleName(QStringLiteral("Stato: cosa viene inviato"));
    Text2->setAccessibleName(QStringLiteral("Stato: risposte ed esito"));
    new FullTextTip(Text1);
    new FullTextTip(Text2);
    IdStart->setAccessibleName(Label1->text());
    Text3->setAccessibleName(QStringLiteral("Porta COM"));
    Command4->setVisible(false);
    Command4->setAutoFillBackground(true);
    WindowStyle::setColour(Command4, QPalette::Button, QColor(255, 0, 0));
    Label3->setAutoFillBackground(true);
    WindowStyle::setColour(Label3, QPalette::Window, QColor(255, 255, 128));
    WindowStyle::setColour(Text3, QPalette::Base, QColor(255, 255, 0));

    // Keyboard focus in the order of the tab indexes; labels take none.
    QWidget* tabOrder[] = {Command1, Text1,    Text2,    File1,   Dir1,       Command2, Drive1,
                           Command3, Command4, Command5, IdStart, LeggiTesti, Text3};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Command1->setFocus();
}

void FormScriveMessaggi::createNoteRow() {
    // In the gap between Text2 and the identifier row, as wide as the status
    // boxes. Either takes it whole when alone; together, the progress keeps
    // the width of its text and the note has the rest.
    QWidget* row = new QWidget(Text1->parentWidget());
    row->setObjectName(QStringLiteral("NoteRow"));
    row->setGeometry(fromTwips(480), fromTwips(3990), fromTwips(5640), fromTwips(195));
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    m_progress = new RunProgressBar(row);
    m_note = new NoteLine(row);
    layout->addWidget(m_progress);
    layout->addWidget(m_note, 1);
}
