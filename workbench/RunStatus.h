#ifndef KURVO_WORKBENCH_RUNSTATUS_H
#define KURVO_WORKBENCH_RUNSTATUS_H

#include "planner/RunProgress.h"

#include <QWidget>

class QLabel;
class QProgressBar;

// The run's progress as the status bar shows it: its figures in a line, and a bar.
class RunStatus : public QWidget
{
    Q_OBJECT

public:
    explicit RunStatus(QWidget* parent = nullptr);

    void Show(const RunFigures& figures);
    QString Text() const;

private:
    QLabel* figuresText;
    QProgressBar* bar;
};

#endif
