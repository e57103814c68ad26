#include "editor/richtext/RxRichEdit.h"

TRxRichEdit::TRxRichEdit(QWidget *parent)
    : QTextEdit(parent)
{
}

TRxRichEdit::~TRxRichEdit() = default;
