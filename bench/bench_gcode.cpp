// Interpretation speed: the generated program of `lines` lines (default 1,000,000) through the
// G-code interpreter, as the streaming worker reads it (lines split beforehand), beside its
// floor, a bare std::getline loop over the same file; and from the file's bytes to the
// arguments of the controller calls, with the lines split into strings as Start does today and
// with the lines taken as views of the decoded text. Each figure is the fastest of a few runs.
//
//   bench_gcode [lines] [seed]
#include "ProgramGenerator.h"
#include "gcode/GCodeInterpreter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>

namespace {

// What a consumer reads of a line; summed so that nothing is optimised away.
double consume(const GCodeInterpreter& program)
{
    switch (program.MotionRequest()) {
    case GCodeInterpreter::Line:
        return program.position[0] + program.position[1] + program.Velocity();
    case GCodeInterpreter::CentreArc:
        return program.arcCentre[0] + program.arcCentre[1] + program.ArcDirection();
    case GCodeInterpreter::RadiusArc:
        return program.arcRadius;
    case GCodeInterpreter::NoMotion:
        break;
    }
    return program.laserSwitch;
}

// The machine's load comes and goes: each pass runs this many times and the fastest counts.
constexpr int rounds = 5;

// Seconds of the fastest of `rounds` runs of `pass`.
template <typename Pass> double fastest(Pass pass)
{
    double best = std::numeric_limits<double>::infinity();
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        pass();
        best = std::min(best, clock.nsecsElapsed() / 1e9);
    }
    return best;
}

// Lines a second of a bare std::getline loop over the program's file.
double getlineFloor(const QByteArray& bytes)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("program.nc"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        std::exit(1);
    file.close();
    qint64 count = 0;
    const double seconds = fastest([&path, &count] {
        std::ifstream in(path.toStdString());
        std::string line;
        std::size_t characters = 0;
        count = 0;
        while (std::getline(in, line)) {
            ++count;
            characters += line.size();
        }
        if (characters == 0)
            std::exit(1);
    });
    return count / seconds;
}

} // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const uint64_t seed = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 1;
    const QByteArray bytes = GenerateProgram(lines, seed);

    QElapsedTimer clock;
    clock.start();
    const QStringList split = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    const double splitSeconds = clock.nsecsElapsed() / 1e9;

    double sum = 0;
    const double interpretSeconds = fastest([&split, &sum] {
        GCodeInterpreter program;
        sum = 0;
        for (const QString& line : split) {
            program.InterpretLine(line);
            sum += consume(program);
            program.FinishLine(false);
        }
    });

    double viewSum = 0;
    const double viewSeconds = fastest([&bytes, &viewSum] {
        const QString text = QString::fromUtf8(bytes);
        GCodeInterpreter program;
        viewSum = 0;
        for (QStringView line : QStringView(text).tokenize(u'\n')) {
            program.InterpretLine(line);
            viewSum += consume(program);
            program.FinishLine(false);
        }
    });

    std::printf("program: %d lines, %.1f MB, seed %llu\n", lines, bytes.size() / 1e6,
                static_cast<unsigned long long>(seed));
    const double floor = getlineFloor(bytes);
    const double rate = split.size() / interpretSeconds;
    std::printf("interpretation alone: %.3f s, %.2f M lines/s; a bare getline loop over the "
                "file: %.2f M lines/s (the interpreter at %.2f of it)\n",
                interpretSeconds, rate / 1e6, floor / 1e6, rate / floor);
    std::printf("file to call arguments (decode, split, interpret): %.3f s, %.2f M lines/s\n",
                splitSeconds + interpretSeconds,
                split.size() / (splitSeconds + interpretSeconds) / 1e6);
    std::printf("file to call arguments (decode, lines as views): %.3f s, %.2f M lines/s\n",
                viewSeconds, split.size() / viewSeconds / 1e6);
    std::printf("checksum %.17g, %s\n", sum,
                sum == viewSum ? "both passes agree" : "PASSES DIFFER");
    return 0;
}
