#ifndef KURVO_PROGRAMTEXTLAYOUT_H
#define KURVO_PROGRAMTEXTLAYOUT_H

#include <QAbstractTextDocumentLayout>

#include <deque>
#include <map>

class QTextBlock;

// Lays a program's text out as unwrapped rows of one height, a row a line, and lays out only the
// blocks that are drawn or asked about: a million-line program costs its view no more than the
// rows on screen. A block holding line separators takes a row for each of its lines.
class ProgramTextLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT

public:
    explicit ProgramTextLayout(QTextDocument* document);

    void draw(QPainter* painter, const PaintContext& context) override;
    int hitTest(const QPointF& point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame* frame) const override;
    QRectF blockBoundingRect(const QTextBlock& block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    int RowCount() const;
    int FirstRowOf(int blockNumber) const;
    int BlockOfRow(int row) const;
    int RowAt(qreal y) const;
    qreal RowTop(int row) const;
    void LayOut(const QTextBlock& block) const;
    // Gives back the lines of the laid-out blocks a change touched (numbered as before it) and
    // renumbers those after it.
    void ForgetLaidOut(int firstChanged, int lastChanged, int moved);
    // Counts the rows of the blocks a change left, and renumbers the blocks after them.
    void CountRows(int firstChanged, int lastChanged, int moved);

    qreal rowHeight = 1;
    int blockCount = 1;
    // The rows a block takes beyond its first, for the blocks that hold line separators.
    std::map<int, int> extraRows;
    mutable qreal widest = 0;
    bool textChanged = false;
    // The blocks laid out, oldest first; the oldest give their lines back beyond a few screens.
    mutable std::deque<int> laidOut;
};

#endif
