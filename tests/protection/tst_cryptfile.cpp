#include "editor/Crypt.h"
#include "platform/crypto/LegacyCipher.h"
#include "tests/protection/FailingSaveFile.h"
#include "tests/protection/ProtectionTestData.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

ScriptedDialogs &dialogs()
{
    return ScriptedDialogs::installed();
}

} // namespace

class tst_CryptFile : public QObject
{
    Q_OBJECT

private slots:
    void init() { dialogs().reset(); }
    void cleanup() { QCOMPARE(dialogs().unexpectedCount(), 0); }

    void propertiesRefuseBadValues()
    {
        TCryptFile crypt;
        QCOMPARE(crypt.objectName(), QStringLiteral("Crypt"));
        QCOMPARE(crypt.IntKey(), 58204713);
        QVERIFY(crypt.Password().isEmpty());

        dialogs().answerMessage(Dialogs::Ok);
        QVERIFY(crypt.setPassword(QStringLiteral("abcd")));
        QVERIFY(!crypt.setPassword(QStringLiteral("abcde")));
        QCOMPARE(crypt.Password(), QStringLiteral("abcd"));
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Max. length 4 characters") });

        dialogs().reset();
        dialogs().answerMessage(Dialogs::Ok);
        QVERIFY(!crypt.setIntKey(0));
        QCOMPARE(crypt.IntKey(), 58204713);
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Value not allowed") });
        QVERIFY(crypt.setIntKey(-5));
        QCOMPARE(crypt.property("IntKey").toInt(), -5);
    }

    void protectsInPlaceByteForByteAndBack_data()
    {
        QTest::addColumn<int>("size");
        for (int size : { 0, 1, 16384, 16385, 70000 })
            QTest::addRow("%d bytes", size) << size;
    }
    void protectsInPlaceByteForByteAndBack()
    {
        QFETCH(int, size);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        const QByteArray plain = ProtectionTestData::distinctBytes(size);
        writeFile(path, plain);

        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("ab"));
        crypt.setInfile(path);
        crypt.setOutfile(path);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Done);
        QVERIFY(crypt.inPlace());
        QCOMPARE(readFile(path), LegacyCipher::encryptBytes(plain, LegacyCipher::passwordValue("ab")));
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.rtf") });

        QCOMPARE(crypt.Decrypt(), TCryptFile::Result::Done);
        QCOMPARE(readFile(path), plain);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.rtf") });
    }

    void exactBytesOfAThreeByteFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("abc.txt"));
        writeFile(path, "abc");
        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("ab"));
        crypt.setInfile(path);
        crypt.setOutfile(path);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Done);
        QCOMPARE(readFile(path), QByteArray::fromHex("8a847803646466"));
    }

    void inPlaceIsFoundWhateverTheSpelling_data()
    {
        QTest::addColumn<QString>("outName");
        QTest::newRow("dot slash") << QStringLiteral("./doc.rtf");
        QTest::newRow("through a folder") << QStringLiteral("sub/../doc.rtf");
        QTest::newRow("symbolic link") << QStringLiteral("link.rtf");
    }
    void inPlaceIsFoundWhateverTheSpelling()
    {
        QFETCH(QString, outName);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        const QByteArray plain = "{\\rtf1 a document that must not be lost}";
        writeFile(path, plain);
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link.rtf"))));
        const QString previous = QDir::currentPath();
        QDir::setCurrent(dir.path());

        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("%7&K"));
        crypt.setInfile(QStringLiteral("doc.rtf"));
        crypt.setOutfile(outName);
        const TCryptFile::Result result = crypt.Encrypt();
        QDir::setCurrent(previous);
        QCOMPARE(result, TCryptFile::Result::Done);
        QVERIFY(crypt.inPlace());
        QCOMPARE(readFile(path), LegacyCipher::encryptBytes(plain, LegacyCipher::passwordValue("%7&K")));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("link.rtf"))).isSymLink());
    }

    void wrongPasswordChangesNothing()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        const QString other = dir.filePath(QStringLiteral("other.rtf"));
        const QByteArray sealed = LegacyCipher::encryptBytes("{\\rtf1 x}", LegacyCipher::passwordValue("ab"));
        writeFile(path, sealed);
        writeFile(other, "keep me");

        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("ba"));
        crypt.setInfile(path);
        crypt.setOutfile(path);
        dialogs().answerMessage(Dialogs::Ok);
        QCOMPARE(crypt.Decrypt(), TCryptFile::Result::BadPassword);
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Bad password !") });
        QCOMPARE(readFile(path), sealed);

        // Into another, existing file: the password is checked before the target is touched or
        // even asked about.
        dialogs().reset();
        crypt.setOutfile(other);
        dialogs().answerMessage(Dialogs::Ok);
        QCOMPARE(crypt.Decrypt(), TCryptFile::Result::BadPassword);
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Bad password !") });
        QCOMPARE(readFile(other), QByteArray("keep me"));
        QCOMPARE(folderEntries(dir.path()), (QStringList { QStringLiteral("doc.rtf"), QStringLiteral("other.rtf") }));
    }

    void existingTargetIsOverwrittenOnlyWhenAgreed()
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.rtf"));
        const QString out = dir.filePath(QStringLiteral("out.rtf"));
        writeFile(in, "plain");
        writeFile(out, "old target");
        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("k"));
        crypt.setInfile(in);
        crypt.setOutfile(out);

        dialogs().answerMessage(Dialogs::No);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Declined);
        QCOMPARE(dialogs().lastMessage(),
            QStringLiteral("The target file : out.rtf\nalready exists.\nAny data will be lost.\n\nProceed ?"));
        QCOMPARE(dialogs().shown().last().buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(readFile(out), QByteArray("old target"));

        dialogs().answerMessage(Dialogs::Yes);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Done);
        QVERIFY(!crypt.inPlace());
        QCOMPARE(readFile(out), LegacyCipher::encryptBytes("plain", LegacyCipher::passwordValue("k")));
        QCOMPARE(readFile(in), QByteArray("plain"));
    }

    void shortWriteKeepsTheOriginal_data()
    {
        QTest::addColumn<qint64>("room");
        QTest::newRow("no room at all") << qint64(0);
        QTest::newRow("room for the check word") << qint64(4);
        QTest::newRow("room for one block") << qint64(16388);
    }
    void shortWriteKeepsTheOriginal()
    {
        QFETCH(qint64, room);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        const QByteArray plain = ProtectionTestData::distinctBytes(50000);
        writeFile(path, plain);

        TCryptFile crypt;
        crypt.setSaveFileFactory(FailingSaveFile::factory(room));
        crypt.setPassword(QStringLiteral("ab"));
        crypt.setInfile(path);
        crypt.setOutfile(path);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Failed);
        QVERIFY2(
            crypt.errorString().contains(QStringLiteral("No space left on device")), qPrintable(crypt.errorString()));
        QCOMPARE(readFile(path), plain);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("doc.rtf") });
    }

    void fixedTemporaryNameIsNeverUsed()
    {
        // A user's file called "___.~--" and a link planted under that name stay as they were.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.rtf"));
        const QString victim = dir.filePath(QStringLiteral("victim"));
        writeFile(path, "{\\rtf1 text}");
        writeFile(victim, "precious");
        QVERIFY(QFile::link(victim, dir.filePath(QStringLiteral("___.~--"))));
        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("ab"));
        crypt.setInfile(path);
        crypt.setOutfile(path);
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Done);
        QCOMPARE(readFile(victim), QByteArray("precious"));
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("___.~--"))).isSymLink());
    }

    void unreadableOrShortInputTellsWhy()
    {
        QTemporaryDir dir;
        TCryptFile crypt;
        crypt.setPassword(QStringLiteral("ab"));
        crypt.setInfile(dir.filePath(QStringLiteral("missing.rtf")));
        crypt.setOutfile(crypt.Infile());
        QCOMPARE(crypt.Encrypt(), TCryptFile::Result::Failed);
        QVERIFY2(crypt.errorString().contains(QStringLiteral("missing.rtf")), qPrintable(crypt.errorString()));
        QVERIFY(!crypt.errorString().contains(QStringLiteral("four Characters")));

        const QString tiny = dir.filePath(QStringLiteral("tiny.rtf"));
        writeFile(tiny, "ab");
        crypt.setInfile(tiny);
        crypt.setOutfile(tiny);
        QCOMPARE(crypt.Decrypt(), TCryptFile::Result::Failed);
        QVERIFY(crypt.errorString().contains(QStringLiteral("too short")));
        QCOMPARE(readFile(tiny), QByteArray("ab"));
    }
};

LUMARO_TEST_CLASS(tst_CryptFile)
#include "tst_cryptfile.moc"
