#include "run/MyThread.h"

#include "controller/CommandResult.h"
#include "controller/CrdAddress.h"
#include "controller/rvAPI.h"
#include "module/ModuleState.h"
#include "run/ProgramStreaming.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {

constexpr int eventPassesBetweenPolls = 30;
// A full buffer holds seconds of motion as a rule; looking for space every few milliseconds keeps
// it full while the waiting worker takes under 2% of a core.
constexpr unsigned long pollPauseMs = 4;

} // namespace

MyThread::MyThread(QObject* parent)
    : QThread(parent)
    , lines(moduleState().programLines)
    , target{moduleState().currentCore, moduleState().currentCrd, moduleState().currentFifo}
    , hostMessage(moduleState().hostMessage)
{}

// The form owns its workers: one still streaming when the form goes is stopped first.
MyThread::~MyThread()
{
    RequestStop();
    wait();
    // wait() synchronises inside the toolkit; reading the flag the run set last makes the
    // hand-over of the worker's members visible to the thread checker too.
    static_cast<void>(runEnded.load(std::memory_order_acquire));
}

void MyThread::RequestStop()
{
    QMutexLocker lock(&startGuard);
    stopRequested = true;
}

short MyThread::StartMotion()
{
    QMutexLocker lock(&startGuard);
    if (stopRequested)
        return 0;
    const short code
        = MQN_CrdStart(target.core, CrdMask(target.crd), FifoOption(target.crd, target.fifo));
    if (code == 0)
        started = true;
    return code;
}

// A refused start is made again at the next chance, and reported the first time only.
void MyThread::StartMotionOnce()
{
    if (started)
        return;
    const short code = StartMotion();
    if (code != 0 && !startFailureReported) {
        report("MQN_CrdStart", code);
        startFailureReported = true;
    }
}

void MyThread::report(const char* name, short code) const
{
    ReportCommandResult(name, code, hostMessage);
}

// Only a running motion makes room: a buffer that fills before the start threshold starts the
// motion then, or the stream would wait for ever. A query that fails says nothing of the buffer:
// the worker asks again.
bool MyThread::WaitForSpace()
{
    if (stopRequested)
        return false;
    int32_t space = 0;
    short code = MQN_CrdSpace(target.core, target.crd, &space, target.fifo);
    bool failureReported = false;
    while ((code != 0 || space <= 0) && !stopRequested) {
        if (code == 0)
            StartMotionOnce();
        else if (!failureReported)
            report("MQN_CrdSpace", code);
        failureReported = failureReported || code != 0;
        for (int pass = 0; pass < eventPassesBetweenPolls; ++pass)
            QCoreApplication::processEvents();
        msleep(pollPauseMs);
        code = MQN_CrdSpace(target.core, target.crd, &space, target.fifo);
    }
    return code == 0 && space > 0;
}

bool MyThread::WaitForFlush()
{
    msleep(pollPauseMs);
    return !stopRequested;
}

// The stream's waits and starts are the worker's: on the wall clock, ended by a stop request.
class MyThread::Control : public StreamControl
{
public:
    explicit Control(MyThread& worker)
        : worker(worker)
    {}

    bool WaitForSpace() override { return worker.WaitForSpace(); }
    void StartMotion() override { worker.StartMotionOnce(); }
    bool WaitForFlush() override { return worker.WaitForFlush(); }

private:
    MyThread& worker;
};

void MyThread::run()
{
    Control control(*this);
    StreamProgram(lines ? *lines : ProgramText(), target, hostMessage, control);
    // The stop request stays: a Start while the worker winds down must not start the motion.
    emit MotionFinished();
    runEnded.store(true, std::memory_order_release);
}
