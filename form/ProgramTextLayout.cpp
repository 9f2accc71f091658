#include "form/ProgramTextLayout.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

// Rows for several tall screens; a block laid out beyond them makes the oldest give theirs back.
constexpr size_t mostBlocksLaidOut = 1024;
// Beyond this many blocks, a change's rows are looked for in the text at once.
// Rows never wrap; a line is as wide as its text.
constexpr qreal unwrappedWidth = 1e7;

int rowsOf(const QTextBlock& block)
{
    return int(block.text().count(QChar::LineSeparator)) + 1;
}

} // namespace

ProgramTextLayout::ProgramTextLayout(QTextDocument* document)
    : QAbstractTextDocumentLayout(document)
{
    // Told just before documentChanged, on the thread that changes the text; a new font or page
    // size changes no text and is not told.
    connect(
        document, &QTextDocument::contentsChange, this, [this] { textChanged = true; },
        Qt::DirectConnection);
}

int ProgramTextLayout::RowCount() const
{
    int rows = blockCount;
    for (const auto& [block, extra] : extraRows)
        rows += extra;
    return rows;
}

int ProgramTextLayout::FirstRowOf(int blockNumber) const
{
    int row = blockNumber;
    for (auto it = extraRows.begin(); it != extraRows.end() && it->first < blockNumber; ++it)
        row += it->second;
    return row;
}

int ProgramTextLayout::BlockOfRow(int row) const
{
    int extraBefore = 0;
    for (const auto& [block, extra] : extraRows) {
        if (block + extraBefore > row)
            break;
        if (row <= block + extraBefore + extra)
            return block;
        extraBefore += extra;
    }
    return std::min(row - extraBefore, blockCount - 1);
}

int ProgramTextLayout::RowAt(qreal y) const
{
    const qreal row = std::floor((y - document()->documentMargin()) / rowHeight);
    return int(std::clamp<qreal>(row, 0, RowCount() - 1));
}

qreal ProgramTextLayout::RowTop(int row) const
{
    return document()->documentMargin() + row * rowHeight;
}

void ProgramTextLayout::LayOut(const QTextBlock& block) const
{
    QTextLayout* layout = block.layout();
    if (layout->lineCount() > 0)
        return;
    while (laidOut.size() >= mostBlocksLaidOut) {
        const QTextBlock oldest = document()->findBlockByNumber(laidOut.front());
        laidOut.pop_front();
        if (oldest.isValid() && oldest != block)
            oldest.layout()->clearLayout();
    }
    laidOut.push_back(block.blockNumber());

    QTextOption option = document()->defaultTextOption();
    option.setWrapMode(QTextOption::NoWrap);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    const qreal widestBefore = widest;
    layout->beginLayout();
    int row = 0;
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLineWidth(unwrappedWidth);
        line.setPosition(QPointF(0, row++ * rowHeight));
        widest = std::max(widest, line.naturalTextWidth());
    }
    layout->endLayout();
    if (widest > widestBefore) {
        // Told after the paint or hit test that asked, never inside it.
        auto* self = const_cast<ProgramTextLayout*>(this);
        QMetaObject::invokeMethod(
            self, [self] { emit self->documentSizeChanged(self->documentSize()); },
            Qt::QueuedConnection);
    }
}

void ProgramTextLayout::documentChanged(int from, int, int charsAdded)
{
    rowHeight = std::max<qreal>(1, QFontMetricsF(document()->defaultFont()).height());
    if (!textChanged) {
        // A new font or page size: the same rows, laid out anew.
        ForgetLaidOut(0, blockCount - 1, 0);
    } else {
        textChanged = false;
        const int moved = document()->blockCount() - blockCount;
        blockCount = document()->blockCount();
        const int firstChanged = std::max(0, document()->findBlock(from).blockNumber());
        const QTextBlock last = document()->findBlock(from + charsAdded);
        const int lastChanged = last.isValid() ? last.blockNumber() : blockCount - 1;
        // A change keeps the block it starts in, with its lines of the old text; the blocks after
        // it in the changed text are new.
        ForgetLaidOut(firstChanged, lastChanged - moved, moved);
        CountRows(firstChanged, lastChanged, moved);
    }
    emit documentSizeChanged(documentSize());
    emit update();
}

void ProgramTextLayout::ForgetLaidOut(int firstChanged, int lastChanged, int moved)
{
    std::deque<int> kept;
    for (const int number : laidOut) {
        if (number < firstChanged)
            kept.push_back(number);
        else if (number > lastChanged)
            kept.push_back(number + moved);
        else if (const QTextBlock block = document()->findBlockByNumber(number); block.isValid())
            block.layout()->clearLayout();
    }
    laidOut = std::move(kept);
}

void ProgramTextLayout::CountRows(int firstChanged, int lastChanged, int moved)
{
    std::map<int, int> counted;
    for (const auto& [block, extra] : extraRows) {
        if (block < firstChanged)
            counted.emplace(block, extra);
        else if (block > lastChanged - moved)
            counted.emplace(block + moved, extra);
    }
    extraRows = std::move(counted);
    QTextBlock block = document()->findBlockByNumber(firstChanged);
    for (int number = firstChanged; number <= lastChanged; ++number, block = block.next()) {
        if (const int rows = rowsOf(block); rows > 1)
            extraRows.emplace(number, rows - 1);
    }
}

QSizeF ProgramTextLayout::documentSize() const
{
    const qreal margin = document()->documentMargin();
    return {widest + 2 * margin, RowCount() * rowHeight + 2 * margin};
}

QRectF ProgramTextLayout::frameBoundingRect(QTextFrame*) const
{
    return {QPointF(), documentSize()};
}

QRectF ProgramTextLayout::blockBoundingRect(const QTextBlock& block) const
{
    const int number = block.isValid() ? block.blockNumber() : -1;
    if (number < 0 || number >= blockCount)
        return {};
    LayOut(block);
    const auto extra = extraRows.find(number);
    const int rows = 1 + (extra == extraRows.end() ? 0 : extra->second);
    return {document()->documentMargin(), RowTop(FirstRowOf(number)), widest, rows * rowHeight};
}

int ProgramTextLayout::hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const
{
    const int row = RowAt(point.y());
    const int number = BlockOfRow(row);
    const QTextBlock block = document()->findBlockByNumber(number);
    if (!block.isValid())
        return -1;
    LayOut(block);
    const QTextLine line = block.layout()->lineAt(row - FirstRowOf(number));
    if (!line.isValid())
        return block.position();
    const QPointF inLine(point.x() - document()->documentMargin(), point.y() - RowTop(row));
    const bool onText = inLine.x() >= 0 && inLine.x() <= line.naturalTextWidth() && inLine.y() >= 0
                        && inLine.y() < rowHeight;
    if (accuracy == Qt::ExactHit && !onText)
        return -1;
    return block.position() + line.xToCursor(inLine.x());
}

void ProgramTextLayout::draw(QPainter* painter, const PaintContext& context)
{
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(), documentSize());
    const int lastBlock = BlockOfRow(RowAt(clip.bottom()));
    const QVariant cursorWidth = property("cursorWidth");
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    QTextBlock block = document()->findBlockByNumber(BlockOfRow(RowAt(clip.top())));
    for (int number = block.blockNumber(); block.isValid() && number <= lastBlock;
         ++number, block = block.next()) {
        const int start = block.position();
        const int end = start + block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection& selection : context.selections) {
            const int from = std::max(selection.cursor.selectionStart(), start);
            const int to = std::min(selection.cursor.selectionEnd(), end);
            if (from < to)
                selections.append({from - start, to - from, selection.format});
        }
        const QPointF at = blockBoundingRect(block).topLeft();
        block.layout()->draw(painter, at, selections, clip);
        if (context.cursorPosition >= start && context.cursorPosition < end) {
            block.layout()->drawCursor(painter, at, context.cursorPosition - start,
                                       cursorWidth.isValid() ? cursorWidth.toInt() : 1);
        }
    }
    painter->restore();
}
