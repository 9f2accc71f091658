#ifndef KURVO_WORKBENCH_TERMINATIONSIGNALS_H
#define KURVO_WORKBENCH_TERMINATIONSIGNALS_H

#include <QObject>

class QSocketNotifier;

// Hands the signals that ask a program to end (SIGTERM from a logout or a service manager,
// SIGINT from Ctrl+C in a terminal, SIGHUP when the terminal goes) to the event loop, so that the
// workbench can end as Quit ends it. Their default action would end the process on the spot,
// losing the operator window's settings and leaving the dry runs and the temporary folder behind.
// One at a time in a process; where there are no such signals it does nothing.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject* parent = nullptr);
    // The signals' default actions come back.
    ~TerminationSignals() override;

signals:
    void Received(int signalNumber);

private:
    void Read();

    QSocketNotifier* notifier = nullptr;
};

#endif
