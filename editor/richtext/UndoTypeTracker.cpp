#include "editor/richtext/UndoTypeTracker.h"

#include <QTextDocument>

UndoTypeTracker::UndoTypeTracker(QTextDocument *document)
    : QObject(document)
    , m_document(document)
{
    connect(document, &QTextDocument::undoCommandAdded, this, &UndoTypeTracker::levelAdded);
}

void UndoTypeTracker::levelAdded()
{
    // A new level drops every redo level. Edits the document merges into the last level
    // (continued typing) add none and keep its kind.
    m_redo.clear();
    m_undo.push_back(m_pending);
}

void UndoTypeTracker::undone(bool happened)
{
    if (!happened)
        return;
    m_redo.push_back(m_undo.empty() ? 0 : m_undo.back());
    if (!m_undo.empty())
        m_undo.pop_back();
}

void UndoTypeTracker::redone(bool happened)
{
    if (!happened)
        return;
    m_undo.push_back(m_redo.empty() ? 0 : m_redo.back());
    if (!m_redo.empty())
        m_redo.pop_back();
}

int UndoTypeTracker::undoType() const
{
    return m_document->isUndoAvailable() && !m_undo.empty() ? m_undo.back() : 0;
}

int UndoTypeTracker::redoType() const
{
    return m_document->isRedoAvailable() && !m_redo.empty() ? m_redo.back() : 0;
}

void UndoTypeTracker::clear()
{
    m_undo.clear();
    m_redo.clear();
}
