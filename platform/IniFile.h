#pragma once

#include <QString>
#include <QStringList>

// An initialisation file: "[Section]" headings and "key=value" lines. Section and key names match
// without regard to case; spaces around names and values are ignored; lines starting with ';' are
// comments. Every read opens the file afresh; every write changes exactly one line (or adds one)
// and keeps every other line of the file as it was. A missing file or key reads as the default.
class IniFile
{
public:
    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &fallback = {}) const;
    // Leading optional sign and digits, as the platform reads them ("12abc" is 12); the fallback
    // when the value does not start with a number.
    int readInteger(const QString &section, const QString &key, int fallback = 0) const;
    // True for any non-zero number; the fallback when the key is missing or not a number.
    bool readBool(const QString &section, const QString &key, bool fallback = false) const;

    bool contains(const QString &section, const QString &key) const;
    QStringList sections() const;
    QStringList keys(const QString &section) const;

    // Each write is atomic (a failed write leaves the old file); false when the file cannot be
    // written.
    bool writeString(const QString &section, const QString &key, const QString &value);
    bool writeInteger(const QString &section, const QString &key, int value);
    bool writeBool(const QString &section, const QString &key, bool value);

private:
    QStringList readLines() const;

    QString m_path;
};
