#ifndef KURVO_STYLESHEETS_H
#define KURVO_STYLESHEETS_H

#include <QString>

namespace StyleSheets {

inline QString form()
{
    return QStringLiteral(
        "QComboBox{background:transparent;}QComboBox:hover{color:#00a0fe}QComboBox{background:"
        "transparent;border:1px solid rgb(150, 150, 150);border-radius: 2px;padding-left:2px;"
        "padding-right:2px;padding-bottom:1px;padding-top:1px;}QComboBox:hover{color:#00a0fe}"
        "QComboBox::drop-down {border: 1px solid transparent;}QComboBox::down-arrow {image: "
        "url(:/icons/Resources/pull-down.png);}QComboBox::down-arrow:hover {image: "
        "url(:/icons/Resources/pull-down-blue.png);}");
}

inline QString commandTypeChoice()
{
    return QStringLiteral(
        "QComboBox{background:transparent;border:1px solid #00a0fe;border-radius: 3px;"
        "padding-left:4px;padding-right:4px;padding-bottom:4px;padding-top:4px;}QComboBox:hover{"
        "color:#00a0fe}QComboBox::drop-down {border: 1px solid transparent;}"
        "QComboBox::down-arrow {image: url(:/icon/Resources/pull-down.png);}"
        "QComboBox::down-arrow:hover {image: url(:/icon/Resources/pull-down-blue.png);}");
}

inline QString commandTable()
{
    return QStringLiteral(
        "QHeaderView{background-color:#ffffff;border:0px;}QHeaderView::section:horizontal{"
        "padding:1px 5px 1px 5px ;margin:0px;border:0px;border-bottom:1px solid transparent;"
        "background-color:#f7f7f7;}QHeaderView::section:vertical{padding:5px 8px 5px 8px ;"
        "margin:0px;border-bottom:1px solid #d8d8d8;border-right:1px solid #d8d8d8;"
        "border-top:0px ;border-left:1px solid #d8d8d8;background-color:#f7f7f7;}"
        "QTableCornerButton::section{background-Color:#00a0fe;margin:0px;border:0px;"
        "border-bottom:1px solid #00a0fe;}QLineEdit {border-radius: 2px;border: 1px solid "
        "transparent;background: transparent;}QLineEdit:enabled {color: rgb(50, 50, 50);}"
        "QLineEdit:enabled:hover{color: rgb(200, 200, 200);}QLineEdit:enabled:focus {color: "
        "rgb(50, 50, 50);}QLineEdit:!enabled {color: rgb(200, 200, 200);}");
}

inline QString commandTableHeader()
{
    return QStringLiteral("QHeaderView::section{background:#00a0fe;}");
}

} // namespace StyleSheets

#endif
