#include "app/DocumentHistory.h"

#include "platform/AnsiCodec.h"
#include "platform/AppPaths.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <algorithm>

DocumentHistory::DocumentHistory(QObject *parent)
    : QAbstractListModel(parent)
{ }

int DocumentHistory::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_displayed.size());
}

QVariant DocumentHistory::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_displayed.size())
        return {};
    const QString &path = m_displayed.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
    case PathRole:
        return path;
    case FileNameRole:
        return QFileInfo(path).fileName();
    case IconRole:
        return iconIndex(path);
    default:
        return {};
    }
}

bool DocumentHistory::contains(const QString &path) const
{
    return m_entries.contains(path);
}

void DocumentHistory::addAtTop(const QString &path)
{
    m_entries.prepend(path);
    insertDisplayed(0, path);
}

void DocumentHistory::moveToTop(const QString &path)
{
    moveEntryToTop(m_entries, path);
    const int row = int(m_displayed.indexOf(path));
    if (row > 0)
        moveDisplayed(row, 0);
}

QString DocumentHistory::firstEntry() const
{
    return m_displayed.value(0);
}

void DocumentHistory::recordOpened(const QString &path)
{
    // The full list decides, not the displayed one: under a type filter the displayed list may
    // lack a path the full list holds, and adding it again would leave a duplicate in the file.
    if (!contains(path)) {
        addAtTop(path);
        return;
    }
    moveEntryToTop(m_entries, path);
    const int row = int(m_displayed.indexOf(path));
    if (row < 0)
        insertDisplayed(0, path);
    else if (row > 0)
        moveDisplayed(row, 0);
}

bool DocumentHistory::recordSavedAs(const QString &path, int filterIndex)
{
    constexpr int unicodeTextFilter = 5;
    if (extension(path) == QLatin1String(".ktp") || filterIndex == unicodeTextFilter || contains(path))
        return false;
    addAtTop(path);
    return true;
}

void DocumentHistory::recordSavedSelection(const QString &path)
{
    addAtTop(path);
}

void DocumentHistory::recordLinkOpened(const QString &path)
{
    addAtTop(path);
}

void DocumentHistory::moveRowToTop(int row)
{
    if (row < 0 || row >= m_displayed.size())
        return;
    const QString path = m_displayed.at(row);
    moveEntryToTop(m_entries, path);
    if (row > 0)
        moveDisplayed(row, 0);
}

void DocumentHistory::removeDisplayedRows(QList<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.removeIf([this](int row) { return row < 0 || row >= m_displayed.size(); });
    for (int row : std::as_const(rows)) {
        const qsizetype at = m_entries.indexOf(m_displayed.at(row));
        if (at >= 0)
            m_entries.removeAt(at);
    }
    // From the bottom up, in runs of adjacent rows, so the rows still to go keep their numbers.
    for (qsizetype i = rows.size() - 1; i >= 0;) {
        const int last = rows.at(i);
        int first = last;
        while (i > 0 && rows.at(i - 1) == first - 1) {
            --first;
            --i;
        }
        --i;
        beginRemoveRows({}, first, last);
        m_displayed.remove(first, last - first + 1);
        endRemoveRows();
    }
}

void DocumentHistory::clear()
{
    m_entries.clear();
    setDisplayed({});
}

void DocumentHistory::setFilter(Filter filter)
{
    m_filter = filter;
    if (filter == AllDocuments) {
        setDisplayed(m_entries);
        return;
    }
    const QStringList wanted = filterExtensions(filter);
    QStringList shown;
    for (const QString &path : std::as_const(m_entries)) {
        if (wanted.contains(extension(path)))
            shown.append(path);
    }
    setDisplayed(shown);
}

QStringList DocumentHistory::filterExtensions(Filter filter)
{
    switch (filter) {
    case AllDocuments:
        return {};
    case RichText:
        return { QStringLiteral(".rtf") };
    case Compressed:
        return { QStringLiteral(".rtc") };
    case WordDocument:
        return { QStringLiteral(".doc") };
    case PlainText:
        return { QStringLiteral(".txt") };
    case OtherDocuments:
        return { QStringLiteral(".xml"), QStringLiteral(".htm"), QStringLiteral(".html"), QStringLiteral(".sql"),
            QStringLiteral(".cpp"), QStringLiteral(".pas"), QStringLiteral(".h") };
    }
    return {};
}

QString DocumentHistory::extension(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > slash ? path.mid(dot) : QString();
}

int DocumentHistory::iconIndex(const QString &path)
{
    // Only a picture: the letter case of the extension does not matter here.
    const QString ext = extension(path).toLower();
    if (ext == QLatin1String(".txt"))
        return 0;
    if (ext == QLatin1String(".rtf"))
        return 2;
    if (ext == QLatin1String(".doc"))
        return 3;
    if (ext == QLatin1String(".htm") || ext == QLatin1String(".html") || ext == QLatin1String(".xml"))
        return 4;
    if (ext == QLatin1String(".rtc"))
        return 6;
    return 1;
}

int DocumentHistory::findByFileName(const QString &text, int from) const
{
    if (text.isEmpty())
        return -1;
    const QString wanted = text.toLower();
    for (int row = qMax(0, from); row < m_displayed.size(); ++row) {
        if (QFileInfo(m_displayed.at(row)).fileName().toLower().contains(wanted))
            return row;
    }
    return -1;
}

bool DocumentHistory::read(QIODevice &device)
{
    if (!device.isReadable()) {
        m_error = device.errorString();
        return false;
    }
    const QByteArray bytes = device.readAll();
    QStringList paths;
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString path = utf8(line);
        if (utf8.hasError())
            path = AnsiCodec::toUnicode(line);
        paths.append(path);
    }
    m_entries = paths;
    m_filter = AllDocuments;
    setDisplayed(paths);
    return true;
}

bool DocumentHistory::write(QIODevice &device) const
{
    QByteArray bytes;
    for (const QString &path : m_entries) {
        bytes += path.toUtf8();
        bytes += "\r\n";
    }
    if (device.write(bytes) != bytes.size()) {
        m_error = device.errorString();
        return false;
    }
    return true;
}

bool DocumentHistory::load(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = file.errorString();
        return false;
    }
    return read(file);
}

bool DocumentHistory::save(const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || !write(file)) {
        m_error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        m_error = file.errorString();
        return false;
    }
    return true;
}

QString DocumentHistory::defaultFileName()
{
    return AppPaths::dataFile(QStringLiteral("WrdFileList.dat"));
}

bool DocumentHistory::takeFirstShowPending()
{
    const bool pending = m_firstShowPending;
    m_firstShowPending = false;
    return pending;
}

void DocumentHistory::insertDisplayed(int row, const QString &path)
{
    beginInsertRows({}, row, row);
    m_displayed.insert(row, path);
    endInsertRows();
}

void DocumentHistory::moveDisplayed(int from, int to)
{
    // beginMoveRows takes the destination as the row before which the moved row lands.
    if (from == to || !beginMoveRows({}, from, from, {}, to > from ? to + 1 : to))
        return;
    m_displayed.move(from, to);
    endMoveRows();
}

void DocumentHistory::setDisplayed(const QStringList &paths)
{
    beginResetModel();
    m_displayed = paths;
    endResetModel();
}

bool DocumentHistory::moveEntryToTop(QStringList &list, const QString &path)
{
    const qsizetype at = list.indexOf(path);
    if (at < 0)
        return false;
    list.move(at, 0);
    return true;
}
