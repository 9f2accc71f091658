#ifndef KURVO_MYLINEEDIT_H
#define KURVO_MYLINEEDIT_H

#include <QLineEdit>

// The command table's value editor: announces every focus-in so that the form can relabel the
// table headers for the row before the cursor shows.
class MyLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    MyLineEdit(const QString& text, QWidget* parent);
    ~MyLineEdit() override;

signals:
    void changeTitle();

protected:
    void focusInEvent(QFocusEvent* event) override;
};

#endif
