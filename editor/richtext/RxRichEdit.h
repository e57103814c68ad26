#pragma once

#include <QTextEdit>

// The rich text control of the editor.
class TRxRichEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit TRxRichEdit(QWidget *parent = nullptr);
    ~TRxRichEdit() override;
};
