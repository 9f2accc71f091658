#ifndef KURVO_WORKBENCH_BACKGROUNDWORK_H
#define KURVO_WORKBENCH_BACKGROUNDWORK_H

#include <QObject>
#include <QThread>

#include <atomic>
#include <memory>

// One piece of work at a time on a thread of its own, its result handed to `receiver`'s thread.
// A new piece waits for the one before; the owner's end waits for the last.
template <typename Result> class BackgroundWork
{
public:
    explicit BackgroundWork(QObject* receiver)
        : receiver(receiver)
    {}
    ~BackgroundWork() { Wait(); }

    template <typename Work, typename Done> void Start(Work work, Done done)
    {
        Wait();
        auto result = std::make_shared<Result>();
        auto finished = std::make_shared<std::atomic<bool>>(false);
        thread.reset(QThread::create([work, result, finished] {
            *result = work();
            finished->store(true, std::memory_order_release);
        }));
        QObject::connect(thread.get(), &QThread::finished, receiver, [result, finished, done] {
            // The toolkit's hand-over of the signal is invisible to the thread checker; the
            // flag is not.
            if (finished->load(std::memory_order_acquire))
                done(std::move(*result));
        });
        thread->start();
    }

    void Wait()
    {
        if (thread)
            thread->wait();
    }

private:
    QObject* receiver;
    std::unique_ptr<QThread> thread;
};

#endif
