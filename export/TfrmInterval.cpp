#include "export/TfrmInterval.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

TfrmInterval::TfrmInterval(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmInterval"));
    setWindowTitle(QStringLiteral("Viewing Time Interval"));
    auto *heading = new QLabel(QStringLiteral("Set the Viewing Time Per Page"), this);
    heading->setObjectName(QStringLiteral("lblHeading"));
    spnSeconds = new QSpinBox(this);
    spnSeconds->setObjectName(QStringLiteral("spnSeconds"));
    spnSeconds->setRange(5, 60);
    spnSeconds->setValue(5);
    auto *unit = new QLabel(QStringLiteral("Seconds"), this);
    auto *save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    connect(save, &QPushButton::clicked, this, &QDialog::accept);

    auto *row = new QHBoxLayout;
    row->addWidget(spnSeconds);
    row->addWidget(unit);
    row->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(row);
    layout->addWidget(save, 0, Qt::AlignRight);
}

int TfrmInterval::seconds() const
{
    return spnSeconds->value();
}

int TfrmInterval::ask()
{
    exec();
    return seconds();
}
