#ifndef KURVO_WORKBENCH_JOBNOTIFIER_H
#define KURVO_WORKBENCH_JOBNOTIFIER_H

#include "planner/JobHistory.h"

#include <QDBusConnection>
#include <QObject>

class QWidget;

// Says that a job ended when the operator looks elsewhere: a desktop notification through the
// freedesktop notification service on the session bus, or the window's alert where there is no
// such service. Nothing while the window is the active one.
class JobNotifier : public QObject
{
    Q_OBJECT

public:
    explicit JobNotifier(QWidget* window, QDBusConnection bus = QDBusConnection::sessionBus());

public slots:
    void JobEnded(const JobEntry& entry);

private:
    QWidget* window;
    QDBusConnection bus;
};

// "Job finished" and "bracket.nc: 3,208 segments in 1:15"; "Job stopped" and "bracket.nc:
// stopped at segment 356, line 1,234".
QString NotificationSummary(const JobEntry& entry);
QString NotificationBody(const JobEntry& entry);

#endif
