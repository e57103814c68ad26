#include "app/PlaceholderDialogs.h"

PlaceholderDialog::PlaceholderDialog(const QString &className, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(className);
    setWindowTitle(className);
}
