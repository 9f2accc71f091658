#include "Journal.h"

#include <algorithm>

#include "rvsim.h"

void StartJournal()
{
    rvsim_journal_enable(1);
    rvsim_journal_clear();
}

QStringList Journal()
{
    QStringList entries;
    for (int i = 0; i < rvsim_journal_count(); ++i)
        entries << QString::fromUtf8(rvsim_journal_entry(i));
    return entries;
}

std::vector<RecordedPoint> RecordedPath()
{
    std::vector<RecordedPoint> path(static_cast<std::size_t>(rvsim_path_count()));
    for (std::size_t index = 0; index < path.size(); ++index)
        rvsim_path_point(int(index), nullptr, &path[index].ms, path[index].positions);
    return path;
}

QStringList CommandJournal()
{
    static const QStringList statusQueries
        = {"MQN_CrdStatus(",          "MQN_GetUserSegNumWN(", "MQN_CrdSpace(",
           "MQN_GetRemainderSegNum(", "MQN_CrdStatusEx(",     "MQN_GetPrfPos("};
    QStringList commands;
    for (const QString& entry : Journal()) {
        const bool query
            = std::any_of(statusQueries.begin(), statusQueries.end(),
                          [&entry](const QString& name) { return entry.startsWith(name); });
        if (!query)
            commands << entry;
    }
    return commands;
}
