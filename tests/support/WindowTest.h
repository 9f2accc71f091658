#ifndef KURVO_TESTS_WINDOWTEST_H
#define KURVO_TESTS_WINDOWTEST_H

// What a suite that drives the operator window through a test host needs.
#include "form/WidgetNames.h"
#include "rvsim.h"

#include "FileKinds.h"
#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "TableRows.h"
#include "TestHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTextEdit>

// Writes `bytes` to the file at `path`; false when it cannot.
inline bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A program of `lines` feed moves at `feed`, each 10 micrometres on along X.
inline QString FeedProgram(int lines, int feed)
{
    QStringList program{QStringLiteral("G1 F%1").arg(feed)};
    for (int i = 1; i < lines; ++i)
        program << QStringLiteral("X%1").arg(i * 0.01);
    return program.join(QLatin1Char('\n'));
}

// The segments coordinate system 1 of core 1 completed once it stands; -1 while it runs.
inline int CompletedSegments()
{
    short run = 1;
    int32_t completed = 0;
    MQN_CrdStatus(1, 1, &run, &completed, 0);
    return run == 0 ? int(completed) : -1;
}

#endif
