#pragma once

#include <QObject>

#include <vector>

class QTextDocument;

// Remembers what each undo level of a document was (typing, delete, drag and drop, cut, paste),
// so the control can tell what the next undo and redo would take back. The control announces the
// kind of edit it is about to make with setPending(); every undo level the document adds while an
// announcement stands takes that kind, other levels are of unknown kind (0). The control reports
// each undo and redo it performs.
class UndoTypeTracker : public QObject
{
    Q_OBJECT
public:
    explicit UndoTypeTracker(QTextDocument *document);

    void setPending(int type) { m_pending = type; }
    int pending() const { return m_pending; }
    void undone(bool happened);
    void redone(bool happened);
    int undoType() const;
    int redoType() const;
    void clear();

private:
    void levelAdded();

    QTextDocument *m_document;
    std::vector<int> m_undo;
    std::vector<int> m_redo;
    int m_pending = 0;
};

// Announces an edit kind for the lifetime of the guard.
class PendingUndoType
{
public:
    PendingUndoType(UndoTypeTracker &tracker, int type)
        : m_tracker(tracker)
        , m_previous(tracker.pending())
    {
        tracker.setPending(type);
    }
    ~PendingUndoType() { m_tracker.setPending(m_previous); }
    PendingUndoType(const PendingUndoType &) = delete;
    PendingUndoType &operator=(const PendingUndoType &) = delete;

private:
    UndoTypeTracker &m_tracker;
    int m_previous;
};
