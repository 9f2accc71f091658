#ifndef KURVO_TESTS_WINDOWTEST_H
#define KURVO_TESTS_WINDOWTEST_H

// What a suite that drives the operator window through a test host needs.
#include "form/WidgetNames.h"
#include "rvsim.h"

#include "Journal.h"
#include "LinkedModule.h"
#include "ModalBoxAnswerer.h"
#include "FileKinds.h"
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

#endif
