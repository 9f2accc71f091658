#ifndef KURVO_WORKBENCH_RUNSTATUS_H
#define KURVO_WORKBENCH_RUNSTATUS_H

#include "planner/RunProgress.h"

#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;

// The run's progress as the status bar shows it: its figures in a line, and a bar. While a
// program loads and no job is under way, the line tells how far the loading has come instead.
class RunStatus : public QWidget
{
    Q_OBJECT

public:
    explicit RunStatus(QWidget* parent = nullptr);

    void Show(const RunFigures& figures);
    void ShowLoading(int percent);
    void EndLoading();
    QString Text() const;

private:
    void ShowText();

    QLabel* figuresText;
    QProgressBar* bar;
    RunFigures shown;
    std::optional<int> loadingPercent;
};

#endif
