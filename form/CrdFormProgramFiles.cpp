// Choosing program and learning files, and loading a program: a short one into table rows, a
// longer one as text for the streaming worker.
#include "form/CrdForm.h"

#include "controller/CommandResult.h"
#include "form/ErrorBoxes.h"
#include "form/ProgramTextLayout.h"
#include "gcode/ProgramRows.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QTableWidget>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QThread>

#include <atomic>

namespace {

constexpr int notOpened = -1;
// Files beyond this size are read, and their view built, on a thread of their own.
constexpr qint64 readAwayFromWindowBytes = 1 << 20;

// The program's text goes in a piece at a time, in one edit: widened whole at once, a text held
// at one byte a character would take as much memory again as the view's own copy of it.
void FillDocument(QTextDocument& document, const ProgramText& program)
{
    constexpr qsizetype linesAPiece = 10000;
    document.setUndoRedoEnabled(false);
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (qsizetype first = 0; first < program.LineCount(); first += linesAPiece) {
        const qsizetype end = std::min(first + linesAPiece, program.LineCount());
        cursor.insertText(program.JoinedLines(first, end)
                          + (end < program.LineCount() ? QStringLiteral("\n") : QString()));
    }
    cursor.endEditBlock();
    document.setUndoRedoEnabled(true);
}

} // namespace

void CrdForm::OnbtnOpenFileData()
{
    programPathEdit->setText(QFileDialog::getOpenFileName(this, tr("1,txt"),
                                                          QCoreApplication::applicationDirPath(),
                                                          QStringLiteral("NC(*.nc);;All(*.*)")));
}

void CrdForm::OnbtnIlcOpenFileData()
{
    ilcPathEdit->setText(QFileDialog::getOpenFileName(this, tr("1,txt"),
                                                      QCoreApplication::applicationDirPath(),
                                                      QStringLiteral("ILC(*.ilc);;All(*.*)")));
}

void CrdForm::OnLoadFileDataBtnClicked()
{
    OnLoadFileDataBtnClicked(1);
}

void CrdForm::OnLoadFileDataBtnClicked(short isShowAlarm)
{
    const QString path = programPathEdit->text();
    if (path.isEmpty() && isShowAlarm != 0) {
        QMessageBox::information(this, tr("Info"), tr("File path can not be empty !"));
        return;
    }
    // Emptied first, the view's document is cheap to copy for the new program.
    programTextView->clear();
    ReadProgram read = ReadProgramFile(path);
    if (read.problem == FileProblem::NotRegular || read.problem == FileProblem::TooLarge)
        ReportProgramNotLoaded(path, read.problem);
    OnDeleteAllDataBtnClicked();
    const bool shownAsText = read.program && read.program->LineCount() > longestTableProgram;
    const int result
        = shownAsText ? ShowProgramText(std::move(read)) : LoadProgramIntoTable(read.program);
    if (result != 0)
        QMessageBox::information(this, tr("Info"), tr("File open fail !"));
}

void CrdForm::ReportProgramNotLoaded(const QString& path, FileProblem problem)
{
    const QByteArray line = tr("The program %1 was not loaded: %2.")
                                .arg(QDir::toNativeSeparators(path),
                                     DescribeFileProblem(problem, ProgramText::largestFile))
                                .toUtf8();
    ReportToHost(line.constData(), ReportTextOnly);
}

CrdForm::ReadProgram CrdForm::ReadProgramFile(const QString& path)
{
    // The view's settings travel with an empty copy of its document.
    std::unique_ptr<QTextDocument> document(programTextView->document()->clone());
    document->clear();
    // Laid out as it is filled, so that showing it needs no pass over its lines.
    document->setDocumentLayout(new ProgramTextLayout(document.get()));
    auto read = [&path, &document] {
        ReadProgram result;
        result.program = ProgramText::Read(path, &result.problem);
        if (result.program && result.program->LineCount() > longestTableProgram) {
            FillDocument(*document, *result.program);
            result.document = std::move(document);
        }
        return result;
    };
    if (QFileInfo(path).size() < readAwayFromWindowBytes)
        return read();

    // The window goes on painting and polling meanwhile; the operator's input waits until
    // the program is in.
    ReadProgram result;
    std::atomic<bool> handedOver{false};
    std::unique_ptr<QThread> reader(QThread::create([&result, &read, &handedOver] {
        result = read();
        handedOver.store(true, std::memory_order_release);
    }));
    QEventLoop waiting;
    connect(reader.get(), &QThread::finished, &waiting, &QEventLoop::quit);
    reader->start();
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    reader->wait();
    // wait() synchronises inside the toolkit; the flag makes the hand-over of the result visible
    // to the thread checker too.
    static_cast<void>(handedOver.load(std::memory_order_acquire));
    return result;
}

int CrdForm::ShowProgramText(ReadProgram read)
{
    commandTable->hide();
    QTextDocument* document = read.document.release();
    document->setParent(programTextView);
    programTextView->setDocument(document);
    programTextView->moveCursor(QTextCursor::Start);
    programTextView->show();
    // Start takes the loaded lines until the operator or anyone else changes the text.
    loadedProgram = std::make_shared<const ProgramText>(std::move(*read.program));
    return 0;
}

int CrdForm::LoadProgramIntoTable(const std::optional<ProgramText>& program)
{
    commandTable->show();
    programTextView->hide();
    if (!program)
        return notOpened;
    for (ProgramRow& loaded : ProgramAsRows(*program, LookAheadOpen())) {
        const int row = commandTable->rowCount();
        commandTable->insertRow(row);
        commandTable->setItem(row, 0, new QTableWidgetItem(loaded.type));
        ShowCommandError(loaded.label,
                         CreateNewColumn(row, loaded.type, commandTable, &loaded.values));
    }
    return 0;
}
