#ifndef KURVO_BENCH_STALLWATCH_H
#define KURVO_BENCH_STALLWATCH_H

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// The longest gap between turns of the event loop, watched by a 5 ms timer.
class StallWatch
{
public:
    StallWatch()
    {
        QObject::connect(&tick, &QTimer::timeout,
                         [this] { longest = std::max(longest, sinceLast.restart()); });
        tick.start(5);
        sinceLast.start();
    }
    qint64 TakeLongest()
    {
        const qint64 result = std::max(longest, sinceLast.elapsed());
        longest = 0;
        return result;
    }

private:
    QTimer tick;
    QElapsedTimer sinceLast;
    qint64 longest = 0;
};

#endif
