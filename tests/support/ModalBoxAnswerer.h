#ifndef KURVO_TESTS_MODALBOXANSWERER_H
#define KURVO_TESTS_MODALBOXANSWERER_H

#include <QList>
#include <QMap>
#include <QMessageBox>
#include <QObject>
#include <QTimer>

// Answers the modal message boxes that come while it lives, by pressing their default button,
// and records what they said. Fails the running test when the number of boxes differs from the
// number expected.
class ModalBoxAnswerer : public QObject
{
public:
    struct Box
    {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title;
        QString text;
        QMap<QMessageBox::StandardButton, QString> buttons;
        QString defaultButton;
        Qt::WindowFlags flags;
        bool hasParent = false;
    };

    // Answers boxes without counting them.
    static constexpr int anyNumber = -1;

    explicit ModalBoxAnswerer(int expectedBoxes = 1);
    ~ModalBoxAnswerer() override;

    const QList<Box>& boxes() const { return seen; }
    // The first box; an empty record when none came.
    Box first() const { return seen.value(0); }

private:
    void answer();

    QTimer poller;
    int expected;
    QList<Box> seen;
};

#endif
