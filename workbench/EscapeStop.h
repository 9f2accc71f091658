#ifndef KURVO_WORKBENCH_ESCAPESTOP_H
#define KURVO_WORKBENCH_ESCAPESTOP_H

#include <QObject>

#include <functional>

class QWidget;

// Esc stops the machine from anywhere in the application: in the workbench's own window always,
// and while a job runs or stands paused also from its dialogs, before the dialog's own Esc.
// Installed on the application, it lets every key go on.
class EscapeStop : public QObject
{
public:
    EscapeStop(QWidget* mainWindow, std::function<bool()> jobActive, std::function<void()> stop);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* mainWindow;
    std::function<bool()> jobActive;
    std::function<void()> stop;
    // The Esc press being delivered: it passes the filter once for every widget it reaches.
    const QEvent* beingHandled = nullptr;
};

#endif
