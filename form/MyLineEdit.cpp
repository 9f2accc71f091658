#include "form/MyLineEdit.h"

MyLineEdit::MyLineEdit(const QString& text, QWidget* parent)
    : QLineEdit(text, parent)
{}

MyLineEdit::~MyLineEdit() = default;

void MyLineEdit::focusInEvent(QFocusEvent* event)
{
    emit changeTitle();
    QLineEdit::focusInEvent(event);
}
