#include "workbench/JobNotifier.h"

#include "planner/RunProgress.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");

// The context the notifications' texts are translated in.
struct Notification
{
    Q_DECLARE_TR_FUNCTIONS(Notification)
};

QString Count(qint64 number)
{
    return QLocale(QLocale::English).toString(number);
}

} // namespace

QString NotificationSummary(const JobEntry& entry)
{
    return entry.outcome == JobEntry::Outcome::Finished ? Notification::tr("Job finished")
                                                        : Notification::tr("Job stopped");
}

QString NotificationBody(const JobEntry& entry)
{
    const QString job = entry.program.isEmpty() ? Notification::tr("The table")
                                                : QFileInfo(entry.program).fileName();
    if (entry.outcome == JobEntry::Outcome::Finished) {
        return Notification::tr("%1: %2 segments in %3")
            .arg(job, Count(entry.segments), ClockText(entry.runSeconds));
    }
    const QString line
        = entry.line > 0 ? Notification::tr(", line %1").arg(Count(entry.line)) : QString();
    return Notification::tr("%1: stopped at segment %2%3").arg(job, Count(entry.segment), line);
}

JobNotifier::JobNotifier(QWidget* notifiedWindow, QDBusConnection sessionBus)
    : QObject(notifiedWindow)
    , window(notifiedWindow)
    , bus(std::move(sessionBus))
{}

void JobNotifier::JobEnded(const JobEntry& entry)
{
    if (window->isActiveWindow())
        return;
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(service)) {
        QApplication::alert(window);
        return;
    }
    QDBusMessage notify
        = QDBusMessage::createMethodCall(service, QStringLiteral("/org/freedesktop/Notifications"),
                                         service, QStringLiteral("Notify"));
    notify << QStringLiteral("Kurvo workbench") << uint(0) << QStringLiteral("kurvo-workbench")
           << NotificationSummary(entry) << NotificationBody(entry) << QStringList()
           << QVariantMap() << -1;
    // Sent without waiting for the answer: the window goes on at once.
    bus.send(notify);
}
