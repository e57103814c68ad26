#pragma once

#include <QMainWindow>

class QMdiArea;
class TRxRichEdit;

// The program's main window: one document area holding the document windows.
class TFrameForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TFrameForm(QWidget *parent = nullptr);

    QMdiArea *documentArea() const { return m_area; }
    TRxRichEdit *editor() const { return m_editor; }

private:
    QMdiArea *m_area = nullptr;
    TRxRichEdit *m_editor = nullptr;
};
