#pragma once

#include "editor/ProtectedFile.h"

#include <QObject>
#include <QString>

// The document window's file-protection component of the first scheme (LegacyCipher): protects
// Infile into Outfile, or unprotects it, with a password of at most four characters.
//
// Both operations may work in place (Infile and Outfile name the same file, however written).
// The output always goes to a fresh temporary file in Outfile's folder that replaces Outfile only
// once it was written completely, so a failure (a wrong password, a full disk) leaves every file
// as it was. A wrong password is found before anything is written.
class TCryptFile : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Infile READ Infile WRITE setInfile)
    Q_PROPERTY(QString Outfile READ Outfile WRITE setOutfile)
    Q_PROPERTY(QString Password READ Password WRITE setPassword)
    Q_PROPERTY(qint32 IntKey READ IntKey WRITE setIntKey)
public:
    static constexpr qint32 DefaultIntKey = 58204713;

    enum class Result {
        Done,
        Declined, // the user kept an existing target
        BadPassword, // "Bad password !" was shown; nothing was written
        Failed, // errorString() tells why; nothing was written
    };

    explicit TCryptFile(QObject *parent = nullptr);

    QString Infile() const { return m_infile; }
    void setInfile(const QString &path) { m_infile = path; }
    QString Outfile() const { return m_outfile; }
    void setOutfile(const QString &path) { m_outfile = path; }
    QString Password() const { return m_password; }
    // Refuses a password of five or more characters ("Max. length 4 characters"); false then, and
    // the old password stays.
    bool setPassword(const QString &password);
    qint32 IntKey() const { return m_intKey; }
    // Refuses 0 ("Value not allowed"); false then, and the old key stays.
    bool setIntKey(qint32 key);

    Result Encrypt();
    Result Decrypt();

    // Whether the last operation worked in place.
    bool inPlace() const { return m_inPlace; }
    // The reason of the last Failed result.
    QString errorString() const { return m_error; }

    // The password value of the current password (its Windows-1252 bytes, zero-filled to four).
    quint32 passwordValue() const;

    void setSaveFileFactory(ProtectedFile::SaveFileFactory factory) { m_factory = std::move(factory); }

    static QString overwriteQuestion(const QString &target);

private:
    Result run(bool protect);
    Result failed(const QString &message);

    QString m_infile;
    QString m_outfile;
    QString m_password;
    qint32 m_intKey = DefaultIntKey;
    bool m_inPlace = false;
    QString m_error;
    ProtectedFile::SaveFileFactory m_factory = ProtectedFile::defaultSaveFileFactory();
};
