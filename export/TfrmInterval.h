#pragma once

#include <QDialog>

class QSpinBox;

// The viewing-time window of the GIF export: whole seconds per page, 5 to 60. It keeps its value
// for the next export of the run.
class TfrmInterval : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmInterval(QWidget *parent = nullptr);

    QSpinBox *spnSeconds = nullptr;

    int seconds() const;
    // Shows the window modally; however it is closed, returns the seconds as they stand.
    int ask();
};
