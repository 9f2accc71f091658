#include "workbench/EscapeStop.h"

#include <QKeyEvent>
#include <QWidget>

EscapeStop::EscapeStop(QWidget* mainWindow, std::function<bool()> jobActive,
                       std::function<void()> stop)
    : QObject(mainWindow)
    , mainWindow(mainWindow)
    , jobActive(std::move(jobActive))
    , stop(std::move(stop))
{}

bool EscapeStop::eventFilter(QObject* watched, QEvent* event)
{
    const bool press = event->type() == QEvent::KeyPress;
    if ((press || event->type() == QEvent::KeyRelease) && watched->isWidgetType()
        && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (!press) {
            beingHandled = nullptr;
        } else if (event != beingHandled) {
            beingHandled = event;
            if (static_cast<QWidget*>(watched)->window() == mainWindow || jobActive())
                stop();
        }
    }
    return false;
}
