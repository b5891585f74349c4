#include "ui/trace/LineTraceWindow.h"

#include "files/WholeFileWriter.h"
#include "serial/LineTrace.h"
#include "ui/trace/LineTraceModel.h"
#include "ui/trace/TraceFormat.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

LineTraceWindow::LineTraceWindow(const LineTrace& trace, QWidget* parent)
    : QWidget(parent, Qt::Window), m_trace(trace), m_model(new LineTraceModel(trace, this)),
      m_pages(new QStackedWidget(this)), m_table(new QTableView(this)),
      m_copy(new QPushButton(QStringLiteral("Copia"), this)),
      m_save(new QPushButton(QStringLiteral("Salva..."), this)), m_message(new QLabel(this)) {
    setObjectName(QStringLiteral("lineTraceWindow"));
    setWindowTitle(QStringLiteral("Traccia della linea"));
    setAccessibleName(windowTitle());
    m_table->setObjectName(QStringLiteral("traceTable"));
    m_table->setAccessibleName(QStringLiteral("Scambi sulla linea"));
    m_table->setAccessibleDescription(
        QStringLiteral("Ogni riga: tempo dall'inizio dell'operazione, durata, byte inviati e "
                       "ricevuti come testo e in esadecimale, esito"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Rows are chosen with the arrows; Tab goes on to the buttons.
    m_table->setTabKeyNavigation(false);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    for (const auto& [column, digits] : {std::pair{TraceFormat::Time, 11},
                                         {TraceFormat::Took, 11},
                                         {TraceFormat::Sent, 34},
                                         {TraceFormat::SentHex, 36},
                                         {TraceFormat::Received, 30},
                                         {TraceFormat::ReceivedHex, 36}})
        m_table->setColumnWidth(column, digits * digit);
    // The view follows new rows only while the operator has not scrolled away.
    connect(m_model, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] {
        const QScrollBar* bar = m_table->verticalScrollBar();
        m_followTail = bar->value() == bar->maximum();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_followTail)
            m_table->scrollToBottom();
    });

    m_copy->setObjectName(QStringLiteral("copyTrace"));
    m_copy->setAccessibleName(QStringLiteral("Copia la traccia"));
    m_save->setObjectName(QStringLiteral("saveTrace"));
    m_save->setAccessibleName(QStringLiteral("Salva la traccia in un file"));
    m_message->setObjectName(QStringLiteral("traceMessage"));
    m_message->setAccessibleName(QStringLiteral("Messaggio"));
    m_message->setWordWrap(true);
    connect(m_copy, &QPushButton::clicked, this, &LineTraceWindow::copy);
    connect(m_save, &QPushButton::clicked, this, &LineTraceWindow::chooseFile);
    connect(new QShortcut(QKeySequence(Qt::Key_F12), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* tracePage = new QWidget(this);
    auto* traceLayout = new QVBoxLayout(tracePage);
    traceLayout->setContentsMargins(0, 0, 0, 0);
    traceLayout->addWidget(m_table);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_copy);
    buttons->addWidget(m_save);
    buttons->addStretch();
    traceLayout->addLayout(buttons);
    m_pages->addWidget(tracePage);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_message);
    resize(1000, 420);
}

void LineTraceWindow::showEvent(QShowEvent* event) {
    m_model->setLive(true);
    QWidget::showEvent(event);
}

void LineTraceWindow::hideEvent(QHideEvent* event) {
    m_model->setLive(false);
    QWidget::hideEvent(event);
}

void LineTraceWindow::say(const QString& text) {
    m_message->setText(text);
}

void LineTraceWindow::copy() {
    QApplication::clipboard()->setText(TraceFormat::document(m_trace));
    say(QStringLiteral("Traccia copiata: %1 scambi").arg(m_trace.size()));
}

void LineTraceWindow::chooseFile() {
    if (!m_chooser) {
        // The chooser lives inside this window: no dialog box of its own.
        m_chooser = new QFileDialog(this, QStringLiteral("Salva la traccia"), QDir::homePath());
        m_chooser->setObjectName(QStringLiteral("traceFileChooser"));
        m_chooser->setAccessibleName(QStringLiteral("Scegli il file della traccia"));
        m_chooser->setWindowFlags(Qt::Widget);
        m_chooser->setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
        m_chooser->setAcceptMode(QFileDialog::AcceptSave);
        m_chooser->setNameFilters(
            {QStringLiteral("Testo (*.txt)"), QStringLiteral("Tutti i file (*)")});
        m_chooser->setDefaultSuffix(QStringLiteral("txt"));
        m_chooser->selectFile(QStringLiteral("traccia.txt"));
        connect(m_chooser, &QFileDialog::fileSelected, this, &LineTraceWindow::fileChosen);
        connect(m_chooser, &QFileDialog::rejected, this, [this] {
            showTrace();
            say({});
        });
        m_pages->addWidget(m_chooser);
    }
    m_pages->setCurrentWidget(m_chooser);
    m_chooser->show();
    say(QStringLiteral("Scegli dove salvare la traccia"));
}

void LineTraceWindow::fileChosen(const QString& path) {
    // A file that exists is replaced only when chosen a second time.
    if (QFileInfo::exists(path) && path != m_replaceConfirmed) {
        m_replaceConfirmed = path;
        showChooserAgain();
        say(QStringLiteral("Il file %1 esiste già: sceglilo di nuovo per sostituirlo, oppure "
                           "scegli un altro nome")
                .arg(QDir::toNativeSeparators(path)));
        return;
    }
    m_replaceConfirmed.clear();
    if (saveTo(path))
        showTrace();
    else
        showChooserAgain();
}

void LineTraceWindow::showChooserAgain() {
    // The chooser hides itself once it has told its choice: shown again only
    // after that, or the window would be left with an empty page.
    QMetaObject::invokeMethod(m_chooser, &QWidget::show, Qt::QueuedConnection);
}

void LineTraceWindow::showTrace() {
    m_pages->setCurrentIndex(0);
}

bool LineTraceWindow::saveTo(const QString& path) {
    const bool existed = QFileInfo::exists(path);
    const WriteOutcome outcome = writeWholeFile(path, TraceFormat::document(m_trace).toUtf8());
    if (!outcome.ok()) {
        say(QStringLiteral("Traccia non salvata. ") + outcome.report(existed));
        return false;
    }
    say(QStringLiteral("Traccia salvata in %1: %2 scambi")
            .arg(QDir::toNativeSeparators(path))
            .arg(m_trace.size()));
    return true;
}
