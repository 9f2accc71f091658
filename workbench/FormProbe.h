#ifndef KURVO_WORKBENCH_FORMPROBE_H
#define KURVO_WORKBENCH_FORMPROBE_H

#include <QPointer>
#include <QString>

#include <array>
#include <optional>

class QWidget;

// What the workbench reads of the operator window, through its widgets' names as any host
// could: the coordinate system it drives, its axes, and the program it holds.
struct FormReading
{
    short core = 1;
    short crd = 1;
    short fifo = 0;
    std::array<short, 3> profiles{1, 2, 3}; // of X, Y and Z
    QString programPath;
    bool showsProgramText = false; // a Start streams the program rather than the table
    bool lookAheadOpen = false;    // the table is sent in look-ahead mode "Open"
};

class FormProbe
{
public:
    // The operator window below `host`, found again when it closes and another opens.
    explicit FormProbe(QWidget* host);

    QWidget* Form();
    std::optional<FormReading> Read();
    // Puts the path into the window's program field and presses its load button.
    bool LoadProgram(const QString& path);

private:
    QWidget* host;
    QPointer<QWidget> form;
};

#endif
