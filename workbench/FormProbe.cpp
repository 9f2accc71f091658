#include "workbench/FormProbe.h"

#include "module/KurvoHost.h"

#include <QComboBox>
#include <QLineEdit>
#include <QWidget>

namespace {

template <typename Widget> Widget* named(QWidget* form, const QString& name)
{
    return form->findChild<Widget*>(name);
}

template <typename Widget> Widget* named(QWidget* form, const char* name)
{
    return named<Widget>(form, QLatin1String(name));
}

short comboIndex(QWidget* form, const char* name, short fallback)
{
    const auto* combo = named<QComboBox>(form, name);
    return combo ? short(combo->currentIndex()) : fallback;
}

} // namespace

FormProbe::FormProbe(QWidget* hostWindow)
    : host(hostWindow)
{}

QWidget* FormProbe::Form()
{
    if (!form)
        form = host->findChild<QWidget*>(QLatin1String(OperatorWindow::form));
    return form;
}

std::optional<FormReading> FormProbe::Read()
{
    QWidget* window = Form();
    if (!window)
        return std::nullopt;
    FormReading reading;
    reading.core = short(comboIndex(window, OperatorWindow::coreIndexCombo, 0) + 1);
    reading.crd = short(comboIndex(window, OperatorWindow::crdIndexCombo, 0) + 1);
    reading.fifo = comboIndex(window, OperatorWindow::fifoIndexCombo, 0);
    for (int axis = 0; axis < 3; ++axis) {
        const QString name = OperatorWindow::perAxis(OperatorWindow::profileCombo, axis);
        if (const auto* combo = named<QComboBox>(window, name))
            reading.profiles[std::size_t(axis)] = short(combo->currentText().toInt());
    }
    // The mode's second entry is "Open", in either language.
    reading.lookAheadOpen = comboIndex(window, OperatorWindow::lookAheadModeCombo, 0) == 1;
    if (const auto* path = named<QLineEdit>(window, OperatorWindow::programPathEdit))
        reading.programPath = path->text().trimmed();
    if (const auto* text = named<QWidget>(window, OperatorWindow::programTextView))
        reading.showsProgramText = text->isVisibleTo(window);
    return reading;
}

bool FormProbe::LoadProgram(const QString& path)
{
    QWidget* window = Form();
    auto* field = window ? named<QLineEdit>(window, OperatorWindow::programPathEdit) : nullptr;
    if (!field)
        return false;
    field->setText(path);
    return QMetaObject::invokeMethod(window, OperatorWindow::loadProgramSlot);
}
