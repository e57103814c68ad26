#include "platform/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <climits>
#include <optional>

namespace {

struct Located
{
    int sectionLine = -1; // heading line of the section, -1 when absent
    int keyLine = -1;     // line of the key inside that section, -1 when absent
    int sectionEnd = -1;  // one past the last non-empty line of the section
};

std::optional<QString> sectionName(const QString &line)
{
    const QString t = line.trimmed();
    if (t.startsWith(u'[')) {
        const qsizetype close = t.indexOf(u']');
        if (close > 0)
            return t.mid(1, close - 1).trimmed();
    }
    return std::nullopt;
}

bool splitKey(const QString &line, QString *key, QString *value)
{
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(u';'))
        return false;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0)
        return false;
    *key = t.left(eq).trimmed();
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        if (v.size() >= 2 && ((v.startsWith(u'"') && v.endsWith(u'"')) || (v.startsWith(u'\'') && v.endsWith(u'\''))))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

Located locate(const QStringList &lines, const QString &section, const QString &key)
{
    Located loc;
    bool inside = false;
    for (int i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i])) {
            if (inside)
                break;
            if (name->compare(section, Qt::CaseInsensitive) == 0) {
                inside = true;
                loc.sectionLine = i;
                loc.sectionEnd = i + 1;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!lines[i].trimmed().isEmpty())
            loc.sectionEnd = i + 1;
        QString k;
        if (loc.keyLine < 0 && splitKey(lines[i], &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0)
            loc.keyLine = i;
    }
    return loc;
}

std::optional<int> leadingInteger(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+'))
        negative = t[i++] == u'-';
    const qsizetype digitsStart = i;
    qint64 value = 0;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 128) {
        value = value * 10 + (t[i].unicode() - u'0');
        if (value > qint64(INT_MAX) + 1)
            value = qint64(INT_MAX) + 1;
        ++i;
    }
    if (i == digitsStart)
        return std::nullopt;
    value = negative ? -value : value;
    return int(std::clamp<qint64>(value, INT_MIN, INT_MAX));
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{
}

QStringList IniFile::readLines() const
{
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromUtf8(f.readAll());
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IniFile::contains(const QString &section, const QString &key) const
{
    return locate(readLines(), section, key).keyLine >= 0;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &fallback) const
{
    const QStringList lines = readLines();
    const Located loc = locate(lines, section, key);
    if (loc.keyLine < 0)
        return fallback;
    QString k, v;
    splitKey(lines[loc.keyLine], &k, &v);
    return v;
}

int IniFile::readInteger(const QString &section, const QString &key, int fallback) const
{
    if (!contains(section, key))
        return fallback;
    return leadingInteger(readString(section, key)).value_or(fallback);
}

bool IniFile::readBool(const QString &section, const QString &key, bool fallback) const
{
    if (!contains(section, key))
        return fallback;
    const auto n = leadingInteger(readString(section, key));
    return n ? *n != 0 : fallback;
}

QStringList IniFile::sections() const
{
    QStringList out;
    for (const QString &line : readLines()) {
        if (const auto name = sectionName(line))
            out.append(*name);
    }
    return out;
}

QStringList IniFile::keys(const QString &section) const
{
    QStringList out;
    bool inside = false;
    for (const QString &line : readLines()) {
        if (const auto name = sectionName(line)) {
            inside = name->compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k;
        if (inside && splitKey(line, &k, nullptr))
            out.append(k);
    }
    return out;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value)
{
    QStringList lines = readLines();
    const Located loc = locate(lines, section, key);
    const QString entry = key + u'=' + value;
    if (loc.keyLine >= 0) {
        lines[loc.keyLine] = entry;
    } else if (loc.sectionLine >= 0) {
        lines.insert(loc.sectionEnd, entry);
    } else {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(u'[' + section + u']');
        lines.append(entry);
    }
    QSaveFile out(m_path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
    return out.commit();
}

bool IniFile::writeInteger(const QString &section, const QString &key, int value)
{
    return writeString(section, key, QString::number(value));
}

bool IniFile::writeBool(const QString &section, const QString &key, bool value)
{
    return writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}
