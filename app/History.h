#pragma once

#include "app/DocumentHistory.h"

#include <QDialog>

class QListView;
class QPushButton;
class QToolButton;

// What the history dialog needs of the program to open a document: a new document window, made
// by the frame's usual steps with its tab named after the file (without folder), and the file
// loaded into it. False when that failed. The dialog is already hidden when this is called.
class HistoryHost
{
public:
    virtual ~HistoryHost();
    virtual bool openDocument(const QString &path) = 0;
};

// The "Document History" dialog, made once at program start and destroyed at exit. It loads the
// history file when it is made (a missing or unreadable file is reported once and the history
// starts empty) and writes the full list back when it is destroyed. Other windows record paths
// through the add... members; the user opens, searches, filters and prunes the list here.
class THistoryForm : public QDialog
{
    Q_OBJECT
public:
    explicit THistoryForm(QWidget *parent = nullptr);
    ~THistoryForm() override;

    DocumentHistory &history() { return m_history; }
    const DocumentHistory &history() const { return m_history; }
    // Not owned; without a host, opening a document from the dialog reports it as missing.
    void setHost(HistoryHost *host) { m_host = host; }

    bool contains(const QString &path) { return m_history.contains(path); }
    // The frame's Open: an entry already listed moves to the top, any other path is added there.
    // The list's current row stays on the same entry.
    void addFromOpen(const QString &path);
    // Save As with the save dialog's filter index (templates and Unicode text are not recorded).
    void addFromSaveAs(const QString &path, int filterIndex);
    void addFromSaveSelection(const QString &path);
    void addFromLink(const QString &path);
    QString firstEntry() const { return m_history.firstEntry(); }

    // Writes the full list to the history file; on failure the old file stays as it was and the
    // user is told. Also done when the dialog is destroyed.
    bool saveHistory();

    // Handlers of the dialog's controls.
    void btnOpenClick();
    void btnRemoveClick();
    void RbButton1Click();
    void btnCloseClick();
    void btnSearchClick();
    void ListBox1Click();
    void filterClick(DocumentHistory::Filter filter);

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QToolButton *addFilterImage(const char *name, const QString &hint, int picture, DocumentHistory::Filter filter);
    // Warns when the current row's file is gone; false then.
    bool testCurrentRow();
    void selectRow(int row, bool clearOthers);
    int currentRow() const;

    DocumentHistory m_history;
    HistoryHost *m_host = nullptr;
    // The path whose absence was last reported while the dialog was visible: a message box
    // re-activates the dialog when it closes, and that activation must not report it again.
    QString m_reportedMissing;
    QString m_fileName;

    QListView *ListBox1 = nullptr;
    QPushButton *btnOpen = nullptr;
    QPushButton *btnRemove = nullptr;
    QPushButton *RbButton1 = nullptr;
    QPushButton *btnClose = nullptr;
    QPushButton *btnSearch = nullptr;
    QToolButton *ImgAllDocs = nullptr;
    QToolButton *imgRTFDocs = nullptr;
    QToolButton *imgRTCDocs = nullptr;
    QToolButton *imgDocs = nullptr;
    QToolButton *imgTXTDocs = nullptr;
    QToolButton *imgOtherDocs = nullptr;
};
