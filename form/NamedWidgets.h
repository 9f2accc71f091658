#ifndef KURVO_NAMEDWIDGETS_H
#define KURVO_NAMEDWIDGETS_H

#include <QLineEdit>
#include <QString>

class QValidator;

// Gives the widget its name and hands it back, so that making and naming a widget read as one.
template <typename Widget> Widget* Named(Widget* widget, const QString& name)
{
    widget->setObjectName(name);
    return widget;
}

template <typename Widget> Widget* Named(Widget* widget, const char* name)
{
    return Named(widget, QLatin1String(name));
}

// A named edit that starts with `text` and takes what `validator` accepts.
inline QLineEdit* NamedEdit(const QString& name, const QString& text, QValidator* validator)
{
    auto* edit = Named(new QLineEdit(text), name);
    edit->setValidator(validator);
    return edit;
}

#endif
