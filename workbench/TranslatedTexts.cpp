#include "workbench/TranslatedTexts.h"

#include <QEvent>

TranslatedTexts::TranslatedTexts(QObject* widget)
    : QObject(widget)
{
    widget->installEventFilter(this);
}

void TranslatedTexts::Follow(std::function<void()> setTexts)
{
    setTexts();
    setters.push_back(std::move(setTexts));
}

bool TranslatedTexts::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) {
        for (const std::function<void()>& setTexts : setters)
            setTexts();
    }
    return QObject::eventFilter(watched, event);
}
