#ifndef KURVO_MYTHREAD_H
#define KURVO_MYTHREAD_H

#include "controller/CrdAddress.h"
#include "gcode/ProgramText.h"
#include "module/HostTypes.h"

#include <QMutex>
#include <QThread>

#include <atomic>
#include <memory>

// Streams the program lines into the controller's buffer from a thread of its own, starting the
// motion once 1000 lines are in, or earlier when the buffer fills before that.
class MyThread : public QThread
{
    Q_OBJECT

public:
    // Takes its own copy of the program lines, the controller address and the host's message
    // callback, so that nothing the GUI thread changes later reaches the running stream.
    explicit MyThread(QObject* parent);
    ~MyThread() override;

    // Ends the stream after the current line, or in its wait for space; no start of the motion
    // follows once this returns. Any thread.
    void RequestStop();
    // Starts the coordinate system unless a stop was requested; a start the controller takes
    // marks the motion as started. Returns the controller's code, or 0 when stopped. Any thread.
    short StartMotion();
    // Whether a stop was requested. The request stands after the run has ended: a stopped
    // worker never starts the motion again.
    bool StopRequested() const { return stopRequested; }

signals:
    void MotionFinished();

protected:
    void run() override;

private:
    class Control;

    bool WaitForSpace();
    bool WaitForFlush();
    void StartMotionOnce();
    void report(const char* name, short code) const;

    const std::shared_ptr<const ProgramText> lines;
    const ControllerAddress target;
    const HostMessageCallback hostMessage;

    // Held while a stop is requested and while the start is made, so that a stop and a start
    // never cross: a start either comes before the stop or not at all.
    QMutex startGuard;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> started{false};
    bool startFailureReported = false; // the worker's own
    std::atomic<bool> runEnded{false};
};

#endif
