#ifndef KURVO_MYTHREAD_H
#define KURVO_MYTHREAD_H

#include <QThread>

#include <atomic>

// Streams the program lines into the controller's buffer from a thread of its own, starting the
// motion once 1000 lines are in.
class MyThread : public QThread
{
    Q_OBJECT

public:
    explicit MyThread(QObject* parent);
    ~MyThread() override;

    // Ends the stream after the current line; any thread.
    void RequestStop() { stopRequested = true; }

signals:
    void MotionFinished();

protected:
    void run() override;

private:
    bool WaitForSpace(short core, short crd, short fifo);

    std::atomic<bool> stopRequested{false};
};

#endif
