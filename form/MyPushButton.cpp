#include "form/MyPushButton.h"

#include <QPixmap>

MyPushButton::MyPushButton(QWidget* parent, int styleFlags, const QString& normalIcon,
                           const QString& hoverIcon)
    : QPushButton(parent)
{
    QString styleSheet = QStringLiteral("QPushButton{background:#f0f0f0;Margin:2px;}");
    for (int bit = 0; bit < 32; ++bit) {
        const int flag = int(1u << bit);
        if (styleFlags & flag)
            applyStyle(flag, normalIcon, hoverIcon, styleSheet);
    }
    setStyleSheet(styleSheet);
}

MyPushButton::~MyPushButton() = default;

void MyPushButton::applyStyle(int flag, const QString& normalIcon, const QString& hoverIcon,
                              QString& styleSheet)
{
    switch (flag) {
    case PointingHand:
        setCursor(Qt::PointingHandCursor);
        break;
    case BlueHover:
        styleSheet += QStringLiteral("QPushButton:hover{background-color:#00a0fe;color:#ffffff}");
        break;
    case Radius8:
        styleSheet += QStringLiteral("QPushButton{border-radius:8px;}");
        break;
    case Radius3:
        styleSheet += QStringLiteral("QPushButton{border-radius:3px;}");
        break;
    case NormalIcon:
        normalIconPath = normalIcon;
        setIcon(QPixmap(normalIconPath));
        break;
    case Transparent:
        styleSheet
            += QStringLiteral("QPushButton{border:1px solid transparent;background:transparent}");
        break;
    case GreyBorder:
        styleSheet += QStringLiteral("QPushButton{border:1px solid #cccccc;}");
        break;
    case HoverIcon:
        hoverIconPath = hoverIcon;
        swapOnHover = true;
        restoreOnLeave = true;
        break;
    case Radius12:
        styleSheet += QStringLiteral("QPushButton{border-radius:12px;}");
        break;
    case GreyWhenChecked:
        styleSheet += QStringLiteral("QPushButton:checked{background-color:#cccccc}");
        break;
    default:
        break;
    }
}

void MyPushButton::enterEvent(QEnterEvent* /*event*/)
{
    if (swapOnHover)
        setIcon(QPixmap(hoverIconPath));
}

void MyPushButton::leaveEvent(QEvent* /*event*/)
{
    if (restoreOnLeave)
        setIcon(QPixmap(normalIconPath));
}
