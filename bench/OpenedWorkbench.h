#ifndef KURVO_BENCH_OPENEDWORKBENCH_H
#define KURVO_BENCH_OPENEDWORKBENCH_H

#include "TestHost.h"
#include "workbench/Workbench.h"

#include <QCoreApplication>

#include <cstdio>
#include <memory>

// The workbench with the module loaded from `modulePath` and its operator window open, on
// neutral settings beside the benchmark; null, said on the standard error, when the module
// cannot be loaded.
inline std::unique_ptr<Workbench> OpenWorkbench(const QString& modulePath)
{
    TestHost::WriteNeutralSettings(QCoreApplication::applicationDirPath()
                                       + QStringLiteral("/modules/Crd.ini"),
                                   CrdResourceRecord{1, 2, 1, 1, {}});
    auto workbench = std::make_unique<Workbench>(HostConfig::defaults());
    QString error;
    if (!workbench->loadModule(modulePath, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return nullptr;
    }
    workbench->show();
    workbench->openOperatorWindow();
    return workbench;
}

#endif
