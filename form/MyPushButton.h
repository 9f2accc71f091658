#ifndef KURVO_MYPUSHBUTTON_H
#define KURVO_MYPUSHBUTTON_H

#include <QPushButton>

// A push button whose look is assembled from style flags (see the Style values) and which
// can swap its icon while the mouse is over it.
class MyPushButton : public QPushButton
{
public:
    enum Style : int {
        PointingHand = 1,
        BlueHover = 2,
        Radius8 = 4,
        Radius3 = 8,
        NormalIcon = 16,
        Transparent = 32,
        GreyBorder = 64,
        HoverIcon = 128,
        Radius12 = 256,
        GreyWhenChecked = 512,
    };

    MyPushButton(QWidget* parent, int styleFlags, const QString& normalIcon,
                 const QString& hoverIcon);
    ~MyPushButton() override;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void applyStyle(int flag, const QString& normalIcon, const QString& hoverIcon,
                    QString& styleSheet);

    bool restoreOnLeave = false;
    bool swapOnHover = false;
    QString normalIconPath;
    QString hoverIconPath;
};

#endif
