#include "ui/editor/EditaMessaggi.h"

#include "core/Variabili.h"
#include "core/Windows1252.h"
#include "files/LeggiFileDaEditare.h"
#include "files/LocalFileName.h"
#include "ui/common/RejectedCharacter.h"
#include "ui/common/SaveControls.h"
#include "ui/common/WindowStyle.h"
#include "ui/editor/EditorChecks.h"
#include "ui/editor/HiddenLinesNote.h"

#include <QApplication>
#include <QBoxLayout>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

using WindowStyle::fromTwips;

constexpr int margin = 4;
constexpr int spacing = 4;

// The text area separates its lines with '\n'; the message text with CR LF.
QString forArea(const QByteArray& text) {
    return Windows1252::decode(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// The area's content with its line ends as '\n'. The raw text is taken rather
// than toPlainText(), which would turn a no-break space (byte 160) into a space.
QString areaContent(const QPlainTextEdit& area) {
    QString text = area.document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text;
}

QString rejectionMessage(const RejectedCharacter& rejected) {
    return QStringLiteral("Il testo contiene alla riga %1 il carattere «%2», che un file .tvo "
                          "non può contenere. Toglilo o cambialo, poi premi di nuovo Salva.")
        .arg(rejected.line)
        .arg(rejected.character);
}

} // namespace

EditaMessaggi::EditaMessaggi(Variabili& v, SaveWindowOpener openSaveWindow, QWidget* parent)
    : QWidget(parent, Qt::Window), Label1(new QLabel(this)), Label20(new QLabel(this)),
      Text2(new QLineEdit(this)), Command1(new QPushButton(this)), Command2(new QPushButton(this)),
      Text1(new MessageTextArea(this)), m_message(new QLabel(this)),
      m_hiddenLines(new QLabel(this)), m_v(v), m_openSaveWindow(std::move(openSaveWindow)) {
    build();
    load();
}

void EditaMessaggi::build() {
    setObjectName(QStringLiteral("EditaMessaggi"));
    setWindowTitle(
        QStringLiteral("Edita Messaggi (max.32 caratteri. Attenzione: lo spazio è un carattere)"));
    setFont(WindowStyle::font());
    WindowStyle::setColour(this, QPalette::Window,
                           QApplication::palette("QMenu").color(QPalette::Window));
    setAutoFillBackground(true);

    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    Label20->setObjectName(QStringLiteral("Label20"));
    Label20->setText(QStringLiteral("Commento memorizzato nel file (lo puoi cambiare dopo)"));

    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setText(QStringLiteral("Commento del file"));
    SaveControls::setUpCommentBox(Text2);

    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setText(QStringLiteral("Salva "));
    Command1->setFont(WindowStyle::font(12, true, true));
    Command1->setAutoDefault(false);

    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setText(QStringLiteral("End"));
    Command2->setFont(WindowStyle::font(13.5, true, true));
    Command2->setAutoDefault(false);

    SaveControls::setUpMessageLabel(m_message);
    m_message->hide();

    m_hiddenLines->setObjectName(QStringLiteral("hiddenLines"));
    m_hiddenLines->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_hiddenLines->hide();

    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Testi dei messaggi"));
    Text1->setFont(WindowStyle::fixedFont(9.75));
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Fixed columns must stay aligned, so long lines scroll instead of wrapping.
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on to the next control, as in the other boxes; a tab character
    // would break the columns anyway.
    Text1->setTabChangesFocus(true);
    // Every pixel of width is a column of text beside the line margin.
    Text1->document()->setDocumentMargin(2);
    m_checks = new EditorChecks(*Text1);

    // The text area takes all the height that the controls above and the
    // two status lines below leave it; the preview sits under the buttons.
    auto* left = new QVBoxLayout;
    left->setSpacing(spacing);
    left->addWidget(Label1);
    left->addWidget(Label20);
    left->addWidget(Text2);

    // "Salva " and "End" stand in the top right corner, "End" the rightmost.
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);

    auto* right = new QVBoxLayout;
    right->setSpacing(spacing);
    right->addLayout(buttons);
    right->addStretch(1);
    right->addWidget(m_checks->previewRow());

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right);

    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(margin, margin, margin, margin);
    window->setSpacing(spacing);
    window->addLayout(top);
    window->addWidget(m_message);
    window->addWidget(Text1, 1);
    window->addWidget(m_checks->panel());
    window->addWidget(m_hiddenLines);

    setTabOrder(Command1, Text2);
    setTabOrder(Text2, Command2);
    setTabOrder(Command2, Text1);

    resize(fromTwips(9810), fromTwips(7515));

    connect(Command1, &QPushButton::clicked, this, &EditaMessaggi::save);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
}

void EditaMessaggi::load() {
    Text1->clear();
    const QString path = LocalFileName::decode(m_v.FileSelezionato);
    Label1->setText(LocalFileName::readable(path));
    const EditorText read = LeggiFileDaEditare(path);
    if (!read.error.isEmpty()) {
        m_readError = read.error;
        showMessage(m_readError);
        return;
    }
    m_commentRead = read.comment.has_value();
    if (read.comment)
        Text2->setText(Windows1252::decode(*read.comment));
    Text1->setPlainText(forArea(read.text));
    m_hiddenLines->setText(HiddenLinesNote::text(read));
    m_hiddenLines->setToolTip(HiddenLinesNote::tip(read));
    m_hiddenLines->setVisible(read.hiddenCount > 0);
    m_v.TestoMessaggi = read.text;
}

void EditaMessaggi::save() {
    if (m_saving)
        return;
    const QString text = areaContent(*Text1);
    if (const auto rejected = firstRejectedCharacter(text)) {
        showMessage(rejectionMessage(*rejected));
        return;
    }
    showMessage(m_readError);
    m_v.TestoMessaggi =
        Windows1252::encode(QString(text).replace(u'\n', QStringLiteral("\r\n"))).value();
    // The file's comment, as this box shows it now, is where the save window's
    // comment starts: saving over the file keeps its first line.
    m_v.CommentoDaSalvare =
        m_commentRead ? Windows1252::encode(Text2->text()).value_or(QByteArray()) : QByteArray();
    const QScopedValueRollback saving(m_saving, true);
    m_openSaveWindow(this);
}

// The message takes room from the text area only while it has something to say.
void EditaMessaggi::showMessage(const QString& text) {
    m_message->setText(text);
    m_message->setVisible(!text.isEmpty());
}

void EditaMessaggi::showModal() {
    SaveControls::showModal(*this, m_v);
}
