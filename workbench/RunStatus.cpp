#include "workbench/RunStatus.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

RunStatus::RunStatus(QWidget* parent)
    : QWidget(parent)
    , figuresText(new QLabel(QStringLiteral("Idle")))
    , bar(new QProgressBar)
{
    figuresText->setObjectName(QStringLiteral("runProgress"));
    bar->setObjectName(QStringLiteral("runProgressBar"));
    bar->setRange(0, 100);
    bar->setMaximumWidth(160);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(figuresText);
    layout->addWidget(bar);
}

void RunStatus::Show(const RunFigures& figures)
{
    const QString text = ProgressText(figures);
    if (text != figuresText->text())
        figuresText->setText(text);
    bar->setValue(ProgressPercent(figures));
}

QString RunStatus::Text() const
{
    return figuresText->text();
}
