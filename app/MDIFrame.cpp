#include "app/MDIFrame.h"

#include "editor/richtext/RxRichEdit.h"

#include <QMdiArea>
#include <QMdiSubWindow>

TFrameForm::TFrameForm(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FrameForm"));
    setWindowTitle(QStringLiteral("Velmora Lumaro Editor"));
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("DocumentArea"));
    setCentralWidget(m_area);
    m_editor = new TRxRichEdit;
    m_editor->setObjectName(QStringLiteral("Editor"));
    QMdiSubWindow *sub = m_area->addSubWindow(m_editor);
    sub->setWindowTitle(QStringLiteral("Untitled"));
    sub->showMaximized();
    resize(1024, 768);
}
