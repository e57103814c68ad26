#include "editor/Crypt.h"

#include "platform/AnsiCodec.h"
#include "platform/Dialogs.h"
#include "platform/crypto/LegacyCipher.h"

#include <QFile>
#include <QFileInfo>

TCryptFile::TCryptFile(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("Crypt"));
}

bool TCryptFile::setPassword(const QString &password)
{
    if (password.size() > LegacyCipher::MaxPasswordLength) {
        Dialogs::instance().message(
            Dialogs::Icon::None, QString(), QStringLiteral("Max. length 4 characters"), Dialogs::Buttons::Ok);
        return false;
    }
    m_password = password;
    return true;
}

bool TCryptFile::setIntKey(qint32 key)
{
    if (key == 0) {
        Dialogs::instance().message(
            Dialogs::Icon::None, QString(), QStringLiteral("Value not allowed"), Dialogs::Buttons::Ok);
        return false;
    }
    m_intKey = key;
    return true;
}

quint32 TCryptFile::passwordValue() const
{
    return LegacyCipher::passwordValue(AnsiCodec::fromUnicode(m_password));
}

QString TCryptFile::overwriteQuestion(const QString &target)
{
    return QStringLiteral("The target file : ") + QFileInfo(target).fileName()
        + QStringLiteral("\nalready exists.\nAny data will be lost.\n\nProceed ?");
}

TCryptFile::Result TCryptFile::Encrypt()
{
    return run(true);
}

TCryptFile::Result TCryptFile::Decrypt()
{
    return run(false);
}

TCryptFile::Result TCryptFile::failed(const QString &message)
{
    m_error = message;
    return Result::Failed;
}

TCryptFile::Result TCryptFile::run(bool protect)
{
    m_error.clear();
    m_inPlace = false;
    const quint32 p = passwordValue();
    QFile in(m_infile);
    if (!in.open(QIODevice::ReadOnly))
        return failed(ProtectedFile::cannotOpen(m_infile, in.errorString()));

    // The password is checked before any question and before anything is written.
    if (!protect) {
        switch (LegacyCipher::checkHeader(in, p, m_intKey)) {
        case LegacyCipher::Status::Ok:
            break;
        case LegacyCipher::Status::BadPassword:
            Dialogs::instance().message(
                Dialogs::Icon::None, QString(), QStringLiteral("Bad password !"), Dialogs::Buttons::Ok);
            return Result::BadPassword;
        case LegacyCipher::Status::TooShort:
            return failed(QStringLiteral("The file \"%1\" is too short to be a protected document.")
                              .arg(QFileInfo(m_infile).fileName()));
        default:
            return failed(ProtectedFile::cannotOpen(m_infile, in.errorString()));
        }
        in.seek(0);
    }

    m_inPlace = ProtectedFile::sameFile(m_infile, m_outfile);
    if (!m_inPlace && QFileInfo::exists(m_outfile)) {
        if (Dialogs::instance().message(
                Dialogs::Icon::Warning, QString(), overwriteQuestion(m_outfile), Dialogs::Buttons::YesNo)
            != Dialogs::Yes)
            return Result::Declined;
    }

    QString error;
    const bool ok = ProtectedFile::replace(
        m_outfile,
        [&](QIODevice &out, QString *why) {
            const LegacyCipher::Status status
                = protect ? LegacyCipher::encrypt(in, out, p, m_intKey) : LegacyCipher::decrypt(in, out, p, m_intKey);
            if (status == LegacyCipher::Status::ReadError)
                *why = ProtectedFile::cannotOpen(m_infile, in.errorString());
            return status == LegacyCipher::Status::Ok;
        },
        m_factory, &error);
    if (!ok)
        return failed(error);
    return Result::Done;
}
