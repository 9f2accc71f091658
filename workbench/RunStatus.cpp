#include "workbench/RunStatus.h"

#include "workbench/TranslatedTexts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>

RunStatus::RunStatus(QWidget* parent)
    : QWidget(parent)
    , figuresText(new QLabel)
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
    (new TranslatedTexts(this))->Follow([this] { ShowText(); });
}

void RunStatus::Show(const RunFigures& figures)
{
    shown = figures;
    ShowText();
}

void RunStatus::ShowLoading(int percent)
{
    loadingPercent = percent;
    ShowText();
}

void RunStatus::EndLoading()
{
    loadingPercent.reset();
    ShowText();
}

void RunStatus::ShowText()
{
    const bool jobUnderWay
        = shown.state == RunJob::State::Running || shown.state == RunJob::State::Paused;
    const bool loading = loadingPercent && !jobUnderWay;
    const QString text
        = loading ? tr("Loading program… %1%").arg(*loadingPercent) : ProgressText(shown);
    if (text != figuresText->text())
        figuresText->setText(text);
    bar->setValue(loading ? *loadingPercent : ProgressPercent(shown));
}

QString RunStatus::Text() const
{
    return figuresText->text();
}
