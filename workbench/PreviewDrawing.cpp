#include "workbench/PreviewDrawing.h"

#include <QLine>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace {

// Sets the pixels of `line` in `image`, of 32 bits a pixel: a preview's feed moves are mostly a
// pixel or two long, and a line through the toolkit's painter costs many times its pixels. The
// pixels are those of the whole line, a pixel a step along its longer side, so that a line cut
// off by the picture's edge lies where the rest of the path does; only the steps that can reach
// into the picture are taken.
void setLinePixels(QImage& image, QLine line, QRgb colour)
{
    const qint64 dx = line.dx(), dy = line.dy();
    const qint64 steps = std::max(std::abs(dx), std::abs(dy));
    // Liang and Barsky: the share of the line from its start that lies before each edge, the
    // picture taken a pixel larger all round.
    double enter = 0, leave = 1;
    const auto keep = [&enter, &leave](double towards, double room) {
        if (towards == 0)
            return room >= 0;
        const double at = room / towards;
        if (towards < 0)
            enter = std::max(enter, at);
        else
            leave = std::min(leave, at);
        return enter <= leave;
    };
    const double x = line.x1(), y = line.y1();
    if (!keep(double(-dx), x + 1) || !keep(double(dx), image.width() - x)
        || !keep(double(-dy), y + 1) || !keep(double(dy), image.height() - y))
        return;
    const auto offset = [steps](qint64 step, qint64 span) {
        // The nearest pixel to the line at this step, halves away from the start.
        const qint64 scaled = 2 * step * std::abs(span) + steps;
        return (span < 0 ? -1 : 1) * (steps > 0 ? scaled / (2 * steps) : 0);
    };
    uchar* const bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    const auto set = [&image, bits, stride, colour](qint64 px, qint64 py) {
        if (px >= 0 && py >= 0 && px < image.width() && py < image.height())
            reinterpret_cast<QRgb*>(bits + py * stride)[px] = colour;
    };
    // Two pixels thick, the second before the first across the longer side: the pixels a pen a
    // pixel and a half wide covers.
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const qint64 last = std::min<qint64>(steps, qint64(std::ceil(leave * double(steps))));
    for (qint64 step = qint64(std::floor(enter * double(steps))); step <= last; ++step) {
        const qint64 px = line.x1() + offset(step, dx), py = line.y1() + offset(step, dy);
        set(px, py);
        set(px - (alongX ? 0 : 1), py - (alongX ? 1 : 0));
    }
}

} // namespace

QColor SpeedBandColour(int band)
{
    return QColor::fromHsvF(0.66 * (1 - (band + 0.5) / speedBands), 0.85, 0.85);
}

QPen RapidMovePen()
{
    return QPen(QColor(150, 150, 150), 1, Qt::DashLine);
}

void DrawPreviewPoints(QImage& picture, const PreviewPath& preview, std::size_t from,
                       std::size_t end, const PlotView& view, PlotPlane plane,
                       std::optional<QPoint>& last)
{
    std::array<std::vector<QLine>, speedBands> feeds;
    std::vector<std::vector<QPoint>> rapids;
    bool inRapid = false;
    for (std::size_t i = from; i < end; ++i) {
        const PreviewPoint& point = preview.points[i];
        const QPoint pixel = view.ToPixel(Project({point.x, point.y, point.z}, plane));
        const QPoint start = last.value_or(pixel);
        last = pixel;
        const int band = SpeedBand(point, preview.topSpeed);
        if (band < 0) {
            if (!inRapid)
                rapids.push_back({start});
            inRapid = true;
            if (rapids.back().back() != pixel)
                rapids.back().push_back(pixel);
        } else {
            inRapid = false;
            if (start != pixel)
                feeds[std::size_t(band)].emplace_back(start, pixel);
        }
    }
    {
        QPainter painter(&picture);
        painter.setPen(RapidMovePen());
        for (const std::vector<QPoint>& rapid : rapids) {
            if (rapid.size() > 1)
                painter.drawPolyline(rapid.data(), int(rapid.size()));
        }
    }
    for (int band = 0; band < speedBands; ++band) {
        const QRgb colour = SpeedBandColour(band).rgb();
        for (const QLine& line : feeds[std::size_t(band)])
            setLinePixels(picture, line, colour);
    }
}
