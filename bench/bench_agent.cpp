// The MTConnect agent under a burst of requests (default 10,000 over 50 connections, each asking
// for /current) while the operator window polls the machine: the requests answered and their
// rate, beside the pace of the window's 10 ms poll with and without the burst.
//
//   QT_QPA_PLATFORM=offscreen build/bench/bench_agent.bin/bench_agent [requests] [connections]
#include "HttpReply.h"
#include "OpenedWorkbench.h"
#include "shopfloor/ShopFloor.h"
#include "workbench/MachineWatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTimer>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

namespace {

// The gaps between turns of the window's poll.
class PollPace
{
public:
    explicit PollPace(QTimer& poll)
    {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (since.isValid())
                gaps.push_back(since.nsecsElapsed() / 1e6);
            since.start();
        });
    }
    QString Take()
    {
        double longest = 0, sum = 0;
        for (double gap : gaps) {
            longest = std::max(longest, gap);
            sum += gap;
        }
        const QString text = QStringLiteral("%1 turns, %2 ms apart on average, longest gap %3 ms")
                                 .arg(gaps.size())
                                 .arg(gaps.empty() ? 0 : sum / double(gaps.size()), 0, 'f', 2)
                                 .arg(longest, 0, 'f', 1);
        gaps.clear();
        return text;
    }

private:
    QElapsedTimer since;
    std::vector<double> gaps;
};

// `count` requests one after another on one kept connection; the number answered whole with 200.
int AskRepeatedly(quint16 port, int count)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(5000))
        return 0;
    int answered = 0;
    for (int request = 0; request < count; ++request) {
        socket.write("GET /current HTTP/1.1\r\nHost: localhost\r\n\r\n");
        const HttpReply reply = ReadHttpReply(socket);
        if (reply.status == 0)
            break;
        answered += reply.status == 200 ? 1 : 0;
    }
    return answered;
}

void Wait(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const int requests = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int connections = std::max(1, argc > 2 ? std::atoi(argv[2]) : 50);

    const std::unique_ptr<Workbench> workbench = OpenWorkbench(QStringLiteral(KURVO_MODULE_PATH));
    if (!workbench)
        return 1;
    ShopFloorConfig config = ShopFloorConfig::defaults();
    config.agent.enabled = true;
    config.agent.port = 0;
    ShopFloor shopFloor(config);
    QObject::connect(workbench->machineWatch(), &MachineWatch::Observed, &shopFloor,
                     &ShopFloor::Observe);
    if (!shopFloor.Start().isEmpty() || !shopFloor.AgentPort())
        return 1;
    QTimer* poll = nullptr;
    for (QTimer* timer : workbench->findChildren<QTimer*>()) {
        if (timer->interval() == 10 && timer->isActive())
            poll = timer;
    }
    if (!poll) {
        std::fprintf(stderr, "the operator window has no 10 ms poll\n");
        return 1;
    }
    PollPace pace(*poll);
    Wait(2000);
    std::printf("the window's poll without requests: %s\n", qPrintable(pace.Take()));

    std::atomic<int> answered{0}, running{connections};
    std::vector<std::thread> clients;
    QElapsedTimer clock;
    clock.start();
    for (int client = 0; client < connections; ++client) {
        const int count = requests / connections + (client < requests % connections ? 1 : 0);
        clients.emplace_back([&, count] {
            answered += AskRepeatedly(*shopFloor.AgentPort(), count);
            --running;
        });
    }
    while (running > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double seconds = clock.nsecsElapsed() / 1e9;
    for (std::thread& client : clients)
        client.join();
    std::printf("%d of %d requests over %d connections answered in %.2f s (%.0f a second)\n",
                answered.load(), requests, connections, seconds, answered / seconds);
    std::printf("the window's poll meanwhile: %s\n", qPrintable(pace.Take()));
    return answered == requests ? 0 : 1;
}
