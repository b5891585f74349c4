#include "ui/main/ComparisonWindow.h"

#include "core/ShownText.h"
#include "device/CompareTexts.h"
#include "files/RecordLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

ComparisonWindow::ComparisonWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), m_summary(new QLabel(this)), m_outdated(new QLabel(this)),
      m_table(new QTableWidget(this)), m_copy(new QPushButton(QStringLiteral("&Copia"), this)),
      m_close(new QPushButton(QStringLiteral("C&hiudi"), this)) {
    setObjectName(QStringLiteral("ConfrontoConIlTarvo"));
    setWindowTitle(QStringLiteral("Confronto con il TARVO"));
    m_table->setObjectName(QStringLiteral("differenze"));
    m_table->setColumnCount(3);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Indirizzo"),
                                        QStringLiteral("Testo del file"),
                                        QStringLiteral("Testo dell'unità")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setFont(QFont(QStringLiteral("monospace")));
    m_table->setAccessibleName(QStringLiteral("Indirizzi con testi diversi"));
    m_summary->setWordWrap(true);
    m_outdated->setObjectName(QStringLiteral("nonAggiornato"));
    m_outdated->setWordWrap(true);
    m_outdated->setText(QStringLiteral("Dopo questo confronto sono stati scritti testi "
                                       "nell'unità: l'elenco può non essere più quello di "
                                       "adesso. Ripeti \"Confronta con il TARVO\"."));
    m_outdated->setStyleSheet(QStringLiteral("color: #a33;"));
    m_outdated->hide();
    m_copy->setObjectName(QStringLiteral("copia"));
    m_close->setObjectName(QStringLiteral("chiudi"));
    connect(m_copy, &QPushButton::clicked, this,
            [this] { QApplication::clipboard()->setText(listText()); });
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_copy);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_outdated);
    layout->addWidget(m_table);
    layout->addLayout(buttons);
    resize(620, 420);
}

void ComparisonWindow::showComparison(const QString& fileName, const TextComparison& comparison) {
    m_outdated->hide();
    m_counts = comparison.counts();
    m_summary->setText(QStringLiteral("%1 confrontato con il TARVO: %2. Nulla è stato scritto.")
                           .arg(fileName, m_counts));
    m_table->setRowCount(int(comparison.differing.size()));
    for (int row = 0; row < comparison.differing.size(); ++row) {
        const TextDifference& difference = comparison.differing[row];
        const QStringList cells = {
            QString::fromLatin1(RecordLayout::addressText(difference.address)),
            ShownText::quoted(difference.fileText), ShownText::quoted(difference.unitText)};
        for (int column = 0; column < 3; ++column)
            m_table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    m_table->resizeColumnsToContents();
    show();
    raise();
    activateWindow();
}

void ComparisonWindow::markOutdated() {
    m_outdated->show();
}

QString ComparisonWindow::listText() const {
    QString text;
    for (int row = 0; row < m_table->rowCount(); ++row)
        text += QStringLiteral("%1 file %2 unità %3\n")
                    .arg(m_table->item(row, 0)->text(), m_table->item(row, 1)->text(),
                         m_table->item(row, 2)->text());
    return text + m_counts + QLatin1Char('\n');
}
