// Reading a program: ProgramText::Read of the generated program of `lines` lines (default
// 1,000,000, about 30 MB) beside its floor, a plain read of the same bytes from the same file,
// in alternating turns, each the median of its turns. With `crlf`, the file's lines end in
// carriage return and line feed, as a Windows editor writes them.
//
//   bench_read [lines] [turns] [crlf]
#include "ProgramGenerator.h"
#include "gcode/ProgramText.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
    const int turns = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const bool crlf = argc > 3 && std::strcmp(argv[3], "crlf") == 0;
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("program.nc"));
    QByteArray bytes = GenerateProgram(lines, 1);
    if (crlf)
        bytes.replace("\n", "\r\n");
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        return 1;
    out.close();

    std::vector<double> plain, program;
    qsizetype check = 0;
    for (int turn = 0; turn < turns; ++turn) {
        QElapsedTimer clock;
        clock.start();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        check += file.readAll().size();
        plain.push_back(clock.nsecsElapsed() / 1e6);

        clock.restart();
        const std::optional<ProgramText> text = ProgramText::Read(path);
        if (!text)
            return 1;
        check += text->LineCount();
        program.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("%d lines, %.1f MB%s, median of %d turns (check %lld)\n", lines, bytes.size() / 1e6,
                crlf ? ", CR LF" : "", turns, static_cast<long long>(check));
    std::printf("plain read of the bytes:  %8.1f ms\n", median(plain));
    std::printf("ProgramText::Read:        %8.1f ms  (%.2fx the plain read)\n", median(program),
                median(program) / median(plain));
    return 0;
}
