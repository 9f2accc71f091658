#include "planner/CommandLine.h"

#include <cstdio>
#include <cstring>

bool AsksForCommand(int argc, char** argv, const char* option)
{
    const std::size_t length = std::strlen(option);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], option, length) == 0
            && (argv[i][length] == '\0' || argv[i][length] == '='))
            return true;
    }
    return false;
}

int Complain(const QString& message, int exitCode)
{
    std::fprintf(stderr, "kurvo-workbench: %s\n", qPrintable(message));
    return exitCode;
}
