#include "ProgramGenerator.h"

#include <QFile>

#include <cmath>
#include <cstdio>
#include <random>

QByteArray GenerateProgram(int lines, uint64_t seed)
{
    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    QByteArray program;
    program.reserve(qsizetype(lines) * 32);
    double x = 0, y = 0;
    char line[128];
    for (int n = 1; n <= lines; ++n) {
        const double kind = unit(random) * 100;
        const bool feed = unit(random) < 0.05;
        int length = kind < 99 ? std::snprintf(line, sizeof line, "N%d ", n) : 0;
        if (kind < 80) {
            x += unit(random) * 2 - 1;
            y += unit(random) * 2 - 1;
            length += std::snprintf(line + length, sizeof line - length, "G01 X%.4f Y%.4f", x, y);
        } else if (kind < 95) {
            // Half a circle over a chord: the centre is the chord's middle.
            const double dx = unit(random) * 2 - 1, dy = unit(random) * 2 - 1;
            length += std::snprintf(line + length, sizeof line - length,
                                    "G0%d X%.4f Y%.4f I%.4f J%.4f", kind < 87.5 ? 2 : 3, x + dx,
                                    y + dy, dx / 2, dy / 2);
            x += dx;
            y += dy;
        } else if (kind < 98) {
            x = std::round(unit(random) * 100);
            y = std::round(unit(random) * 100);
            length += std::snprintf(line + length, sizeof line - length, "G00 X%.1f Y%.1f", x, y);
        } else if (kind < 99) {
            length += std::snprintf(line + length, sizeof line - length, "(contour %d)", n);
        }
        if (feed && kind < 95)
            length += std::snprintf(line + length, sizeof line - length, " F%d", 100 + n % 900);
        program.append(line, length);
        program.append('\n');
    }
    return program;
}

bool WriteGeneratedProgram(const QString& path, int lines, uint64_t seed)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(GenerateProgram(lines, seed)) >= 0;
}
