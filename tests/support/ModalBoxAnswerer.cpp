#include "ModalBoxAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTest>

ModalBoxAnswerer::ModalBoxAnswerer(int expectedBoxes)
    : expected(expectedBoxes)
{
    poller.setInterval(5);
    connect(&poller, &QTimer::timeout, this, &ModalBoxAnswerer::answer);
    poller.start();
}

ModalBoxAnswerer::~ModalBoxAnswerer()
{
    if (expected == anyNumber || seen.size() == expected)
        return;
    QStringList texts;
    for (const Box& box : seen)
        texts << box.title + QLatin1String(": ") + box.text;
    const QByteArray message = QStringLiteral("expected %1 modal box(es), %2 came: %3")
                                   .arg(expected)
                                   .arg(seen.size())
                                   .arg(texts.join(QLatin1String(" | ")))
                                   .toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

void ModalBoxAnswerer::answer()
{
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    Box record;
    record.icon = box->icon();
    record.title = box->windowTitle();
    record.text = box->text();
    record.flags = box->windowFlags();
    record.hasParent = box->parentWidget() != nullptr;
    for (QAbstractButton* button : box->buttons())
        record.buttons.insert(box->standardButton(button), button->text());
    if (box->defaultButton())
        record.defaultButton = box->defaultButton()->text();
    seen.append(record);

    QAbstractButton* press = box->defaultButton();
    if (!press && !box->buttons().isEmpty())
        press = box->buttons().first();
    if (press)
        press->click();
    else
        box->reject();
}
