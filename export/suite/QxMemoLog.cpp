#include "QxMemoLog.h"

#include <QPlainTextEdit>

QPlainTextEdit *QxMemoLog(QWidget *parent, const QString &objectName)
{
    auto *memo = new QPlainTextEdit(parent);
    memo->setObjectName(objectName);
    memo->setReadOnly(true);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont grassetto = memo->font();
    grassetto.setBold(true);
    memo->setFont(grassetto);
    QPalette blu = memo->palette();
    blu.setColor(QPalette::Text, Qt::blue);
    memo->setPalette(blu);
    return memo;
}
