#include "workbench/HistoryDock.h"

#include "planner/RunProgress.h"
#include "workbench/TranslatedTexts.h"

#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

enum Column { Started, Program, Outcome, Line, Segments, Run, Planned, LookAhead, ColumnCount };

QColor ColourOf(JobEntry::Outcome outcome)
{
    switch (outcome) {
    case JobEntry::Outcome::Finished:
        return QColor(0x2e, 0x7d, 0x32);
    case JobEntry::Outcome::Stopped:
        return QColor(0xef, 0x6c, 0x00);
    case JobEntry::Outcome::Interrupted:
        return QColor(0xc6, 0x28, 0x28);
    case JobEntry::Outcome::Running:
        break;
    }
    return QColor(0x15, 0x65, 0xc0);
}

bool CanGoOn(const JobEntry& entry)
{
    return !entry.program.isEmpty() && entry.line > 0
           && (entry.outcome == JobEntry::Outcome::Stopped
               || entry.outcome == JobEntry::Outcome::Interrupted);
}

// A cell that shows `text` and sorts by `key`.
class Cell : public QTableWidgetItem
{
public:
    Cell(const QString& text, const QVariant& key)
        : QTableWidgetItem(text)
    {
        setData(Qt::UserRole, key);
    }
    bool operator<(const QTableWidgetItem& other) const override
    {
        return QVariant::compare(data(Qt::UserRole), other.data(Qt::UserRole))
               == QPartialOrdering::Less;
    }
};

} // namespace

HistoryDock::HistoryDock(const JobHistory& jobHistory, QWidget* parent)
    : QDockWidget(parent)
    , history(jobHistory)
{
    setObjectName(QStringLiteral("historyDock"));
    table = new QTableWidget(0, ColumnCount);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->horizontalHeader()->setStretchLastSection(true);
    table->horizontalHeader()->setSortIndicator(Started, Qt::DescendingOrder);
    auto* exportCsv = new QPushButton;
    runFrom = new QPushButton;
    runFrom->setEnabled(false);
    connect(exportCsv, &QPushButton::clicked, this, &HistoryDock::ExportCsv);
    connect(runFrom, &QPushButton::clicked, this, &HistoryDock::RunSelectedFromLine);
    connect(table, &QTableWidget::itemSelectionChanged, this, [this] {
        const std::optional<JobEntry> entry = Selected();
        runFrom->setEnabled(entry && CanGoOn(*entry));
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(exportCsv);
    buttons->addWidget(runFrom);
    buttons->addStretch();
    auto* content = new QWidget;
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(table);
    layout->addLayout(buttons);
    setWidget(content);
    (new TranslatedTexts(this))->Follow([this, exportCsv] {
        setWindowTitle(tr("History"));
        table->setHorizontalHeaderLabels({tr("Started"), tr("Program"), tr("Outcome"), tr("Line"),
                                          tr("Segments"), tr("Run"), tr("Planned"),
                                          tr("Look-ahead")});
        exportCsv->setText(tr("Export CSV..."));
        runFrom->setText(tr("Run from line"));
        Refresh();
    });
}

void HistoryDock::Refresh()
{
    entries = history.Entries();
    table->setSortingEnabled(false);
    table->setRowCount(int(entries.size()));
    for (int row = 0; row < entries.size(); ++row) {
        const JobEntry& entry = entries[row];
        const QString where = entry.line > 0 ? QString::number(entry.line) : QString();
        auto* outcome = new Cell(ShownOutcome(entry.outcome), OutcomeName(entry.outcome));
        outcome->setForeground(ColourOf(entry.outcome));
        table->setItem(
            row, Started,
            new Cell(entry.started.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")), entry.id));
        table->setItem(
            row, Program,
            new Cell(entry.program.isEmpty() ? tr("(table)") : entry.program, entry.program));
        table->setItem(row, Outcome, outcome);
        table->setItem(row, Line, new Cell(where, entry.line));
        table->setItem(
            row, Segments,
            new Cell(tr("%1 of %2").arg(entry.segment).arg(entry.segments), entry.segment));
        table->setItem(row, Run, new Cell(ClockText(entry.runSeconds), entry.runSeconds));
        table->setItem(row, Planned,
                       new Cell(entry.plannedSeconds ? ClockText(*entry.plannedSeconds) : QString(),
                                entry.plannedSeconds.value_or(-1)));
        table->setItem(row, LookAhead, new Cell(entry.lookAhead, entry.lookAhead));
    }
    table->setSortingEnabled(true);
}

QString HistoryDock::ShownOutcome(JobEntry::Outcome outcome)
{
    switch (outcome) {
    case JobEntry::Outcome::Finished:
        return tr("finished");
    case JobEntry::Outcome::Stopped:
        return tr("stopped");
    case JobEntry::Outcome::Interrupted:
        return tr("interrupted");
    case JobEntry::Outcome::Running:
        break;
    }
    return tr("running");
}

std::optional<JobEntry> HistoryDock::Selected() const
{
    const QList<QTableWidgetItem*> chosen = table->selectedItems();
    if (chosen.isEmpty())
        return std::nullopt;
    const qint64 id
        = table->item(chosen.constFirst()->row(), Started)->data(Qt::UserRole).toLongLong();
    for (const JobEntry& entry : entries) {
        if (entry.id == id)
            return entry;
    }
    return std::nullopt;
}

void HistoryDock::ExportCsv()
{
    const QString path
        = QFileDialog::getSaveFileName(this, tr("Export the job history"),
                                       QStringLiteral("history.csv"), tr("CSV (*.csv);;All (*)"));
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(HistoryCsv(history.Entries()).toUtf8()) < 0) {
        QMessageBox::warning(this, tr("Export the job history"),
                             tr("%1 cannot be written.").arg(path));
    }
}

void HistoryDock::RunSelectedFromLine()
{
    if (const std::optional<JobEntry> entry = Selected(); entry && CanGoOn(*entry))
        emit RunFromLineWanted(entry->program, qsizetype(entry->line));
}

void HistoryDock::OfferToGoOn(const QList<JobEntry>& interrupted)
{
    Refresh();
    for (const JobEntry& entry : interrupted) {
        if (!CanGoOn(entry))
            continue;
        const QString question
            = tr("The job of %1 was interrupted at line %2 when the workbench ended.\n\nGo on "
                 "with it from line %2?")
                  .arg(entry.program)
                  .arg(entry.line);
        if (QMessageBox::question(this, tr("Interrupted job"), question) == QMessageBox::Yes)
            emit RunFromLineWanted(entry.program, qsizetype(entry.line));
        return;
    }
}
