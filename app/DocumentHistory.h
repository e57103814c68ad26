#pragma once

#include <QAbstractListModel>
#include <QStringList>

class QIODevice;

// The list of recently opened and saved documents, without any widget.
//
// Two ordered lists of full paths, most recent first: the full list (every entry; what is saved)
// and the displayed list (the rows of this model: a copy of the full list, or the entries of the
// chosen type filter, in full-list order). Paths are compared as whole strings, case-sensitively.
// Every addition goes into both lists and every removal from the displayed list also removes the
// matching entry from the full list, so the displayed list never holds a path the full list lacks.
// The lists have no size limit and are only reordered by the moves below.
//
// The rows are the model's items (Qt::DisplayRole and PathRole give the path), so a view keeps its
// current row and selection on the same entries when rows are added or moved above them.
class DocumentHistory : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Filter { AllDocuments, RichText, Compressed, WordDocument, PlainText, OtherDocuments };
    Q_ENUM(Filter)
    enum Role { PathRole = Qt::UserRole + 1, FileNameRole, IconRole };

    explicit DocumentHistory(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    const QStringList &entries() const { return m_entries; }
    const QStringList &displayed() const { return m_displayed; }
    QString displayedPath(int row) const { return m_displayed.value(row); }

    // True when the full list holds the path.
    bool contains(const QString &path) const;
    // Inserts the path at the top of both lists, whether or not it is already there.
    void addAtTop(const QString &path);
    // Moves the first equal entry of each list to the top; a list without the path is unchanged.
    void moveToTop(const QString &path);
    // The top row of the displayed list, empty when it has none.
    QString firstEntry() const;

    // The rules of the commands that record a path.
    // A document opened through the frame's Open: an entry already in the history moves to the
    // top (also when the current filter hides it: it then appears at the top of the displayed
    // list, like a new entry); any other path is added at the top.
    void recordOpened(const QString &path);
    // Save As with the save dialog's filter index: templates (".ktp") and Unicode text (filter 5)
    // are never added, and a path already in the history keeps its place. True when added.
    bool recordSavedAs(const QString &path, int filterIndex);
    // Save Selection As and document links: always added at the top, duplicates included.
    void recordSavedSelection(const QString &path);
    void recordLinkOpened(const QString &path);

    // Moves a displayed row to the top of the displayed list and the first equal entry of the full
    // list to the top of the full list (a document opened from the history).
    void moveRowToTop(int row);
    // Removes the given displayed rows, and for each of them (in row order) the first equal entry
    // of the full list. Rows outside the list are ignored.
    void removeDisplayedRows(QList<int> rows);
    // Empties both lists.
    void clear();

    // Rebuilds the displayed list from the full list: the entries whose extension (the file
    // name's text from its last dot) equals one of the filter's extensions, letter case included.
    // The filter stays in force until another one is set.
    void setFilter(Filter filter);
    Filter filter() const { return m_filter; }
    static QStringList filterExtensions(Filter filter);
    // The text from the last dot of the file name (not of a folder), empty when it has none.
    static QString extension(const QString &path);
    // The picture of a path's type: 0 plain text, 1 other and source code, 2 rich text, 3 Word
    // document, 4 web page and XML, 6 compressed rich text (5 is the "all documents" picture).
    static int iconIndex(const QString &path);

    // The first displayed row at or after `from` whose file name (without folder) contains the
    // text without regard to letter case; -1 when there is none or the text is empty.
    int findByFileName(const QString &text, int from = 0) const;

    // The history file: one path a line, UTF-8, each line ended by CR LF, most recent first.
    // read() replaces both lists (and drops the filter) with the device's lines; empty lines are
    // skipped, a line that is not valid UTF-8 is read as Windows-1252 (files of older versions).
    // False, with nothing changed, when the device cannot be read.
    bool read(QIODevice &device);
    // Writes the full list; false when the device refused the data.
    bool write(QIODevice &device) const;
    // The same on a file; save() replaces the file only after the whole list was written, so a
    // failed save leaves the old file as it was. errorString() tells why the last one failed.
    bool load(const QString &fileName);
    bool save(const QString &fileName);
    QString errorString() const { return m_error; }
    // "WrdFileList.dat" in the program's data folder.
    static QString defaultFileName();

    // Set when the history file was loaded; the dialog's first showing selects the top row and
    // clears it.
    bool isFirstShowPending() const { return m_firstShowPending; }
    void setFirstShowPending(bool pending) { m_firstShowPending = pending; }
    bool takeFirstShowPending();

private:
    void insertDisplayed(int row, const QString &path);
    void moveDisplayed(int from, int to);
    void setDisplayed(const QStringList &paths);
    static bool moveEntryToTop(QStringList &list, const QString &path);

    QStringList m_entries;
    QStringList m_displayed;
    Filter m_filter = AllDocuments;
    bool m_firstShowPending = false;
    mutable QString m_error;
};
