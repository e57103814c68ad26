#include "editor/Crypt.h"
#include "editor/DocumentHost.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentProtection.h"
#include "editor/SaveCommands.h"
#include "editor/richtext/RxRichEdit.h"
#include "platform/crypto/LegacyCipher.h"
#include "platform/crypto/ProtectedContainer.h"
#include "tests/protection/FailingSaveFile.h"
#include "tests/protection/ProtectionTestData.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

ScriptedDialogs &dialogs()
{
    return ScriptedDialogs::installed();
}

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

QByteArray openContainer(const QByteArray &file, const QByteArray &password)
{
    QByteArray plain;
    if (ProtectedContainer::openBytes(file, &plain, password) != ProtectedContainer::Status::Ok)
        return QByteArray("<refused>");
    return plain;
}

// The window as the protection commands see it: a document in a rich text control, a name, and
// a close that only counts.
class FakeWindow final : public DocumentHost
{
public:
    FakeWindow()
        : save(*this)
        , protection(*this, save, crypt, [this] { ++closed; })
    { }

    TRxRichEdit &editor() override { return edit; }
    QString documentFileName() const override { return name; }
    void setDocumentFileName(const QString &path) override { name = path; }
    void setWindowCaption(const QString &) override { }
    void setSelectedTabCaption(const QString &) override { }
    void setApplicationTitle(const QString &) override { }
    void setModifiedIndicator(bool modified) override { edit.setModified(modified); }
    void applyZoom() override { }
    void runChangeHandler() override { }
    void focusEditor() override { ++focused; }
    QString saveFolder() const override { return {}; }
    void recordSavedAs(const QString &, int) override { }
    void recordSavedSelection(const QString &) override { }

    // Loads as the window does: the protection step first, then the content.
    bool load(const QString &path)
    {
        QByteArray content;
        QByteArray password;
        QString error;
        const auto opened = protection.openFile(path, &content, &password, &error);
        if (opened == DocumentProtection::OpenResult::Failed && !error.isEmpty())
            Dialogs::instance().error(error);
        if (opened != DocumentProtection::OpenResult::Read && opened != DocumentProtection::OpenResult::Unlocked)
            return false;
        if (!DocumentIO::loadContent(edit, content, path, &error))
            return false;
        save.setProtectionPassword(password);
        name = path;
        edit.setModified(false);
        return true;
    }

    TRxRichEdit edit;
    QString name = DocumentHost::untitled();
    TCryptFile crypt;
    SaveCommands save;
    DocumentProtection protection;
    int closed = 0;
    int focused = 0;
};

} // namespace

Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

const QByteArray sampleRtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 Secret plans for the garden\\par}";

} // namespace

class tst_DocumentProtection : public QObject
{
    Q_OBJECT

private slots:
    void init() { dialogs().reset(); }
    void cleanup() { QCOMPARE(dialogs().unexpectedCount(), 0); }

    void unsavedDocumentIsRefused()
    {
        FakeWindow window;
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.UnProtectDocument1Click();
        QCOMPARE(dialogs().messageTexts(),
            (QStringList { QStringLiteral("Document must already be saved before protecting it!"),
                QStringLiteral("Document must already be saved before unprotecting it!") }));
        QCOMPARE(window.closed, 0);
        QCOMPARE(window.focused, 2);
    }

    void protectSealsTheSavedFileAndCloses()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtf"));
        writeFile(path, sampleRtf);
        FakeWindow window;
        QVERIFY(window.load(path));

        dialogs().answerInput(QStringLiteral("tulip bulbs"));
        dialogs().answerInput(QStringLiteral("tulip bulbs"));
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        QCOMPARE(dialogs().messageTexts(),
            (QStringList { QStringLiteral("Enter a password for the document (1 to 1024 bytes):"),
                QStringLiteral("Enter the same password again:"), QStringLiteral("Continue with Protection?"),
                QStringLiteral("Do not forget your password!") }));
        QVERIFY(dialogs().shown().at(0).masked);
        QVERIFY(dialogs().shown().at(1).masked);
        QCOMPARE(dialogs().shown().at(0).title, QStringLiteral("Protect Document"));
        QCOMPARE(window.closed, 1);
        const QByteArray file = readFile(path);
        QVERIFY(ProtectedContainer::hasMagic(file));
        QVERIFY(!file.contains("garden"));
        QCOMPARE(openContainer(file, "tulip bulbs"), sampleRtf);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("plans.rtf") });
    }

    void protectStopsWithoutChangingTheFile_data()
    {
        QTest::addColumn<QList<std::optional<QString>>>("inputs");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("message");
        using Inputs = QList<std::optional<QString>>;
        QTest::newRow("first prompt cancelled") << Inputs { std::nullopt } << false << QString();
        QTest::newRow("second prompt cancelled") << Inputs { QStringLiteral("pw"), std::nullopt } << false << QString();
        QTest::newRow("not confirmed") << Inputs { QStringLiteral("pw"), QStringLiteral("pw") } << false << QString();
        QTest::newRow("passwords differ")
            << Inputs { QStringLiteral("pw"), QStringLiteral("wp") } << true
            << QStringLiteral("The two passwords differ. The document was not protected.");
        QTest::newRow("empty password") << Inputs { QString(), QString() } << true
                                        << QStringLiteral("Invalid Password. A password must be 1 to 1024 bytes long.");
        QTest::newRow("1025 bytes") << Inputs { QString(1025, u'x'), QString(1025, u'x') } << true
                                    << QStringLiteral("Invalid Password. A password must be 1 to 1024 bytes long.");
        // 342 three-byte characters make 1026 bytes of UTF-8.
        QTest::newRow("1026 bytes of UTF-8")
            << Inputs { QString(342, QChar(0x20AC)), QString(342, QChar(0x20AC)) } << true
            << QStringLiteral("Invalid Password. A password must be 1 to 1024 bytes long.");
    }
    void protectStopsWithoutChangingTheFile()
    {
        QFETCH(QList<std::optional<QString>>, inputs);
        QFETCH(bool, confirmed);
        QFETCH(QString, message);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtf"));
        writeFile(path, sampleRtf);
        FakeWindow window;
        QVERIFY(window.load(path));

        for (const auto &input : inputs)
            dialogs().answerInput(input);
        if (inputs.size() == 2)
            dialogs().answerMessage(confirmed ? Dialogs::Yes : Dialogs::No);
        if (!message.isEmpty())
            dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        if (!message.isEmpty())
            QCOMPARE(dialogs().lastMessage(), message);
        QCOMPARE(readFile(path), sampleRtf);
        QCOMPARE(window.closed, 0);
        QCOMPARE(window.focused, 1);
    }

    void protectSavesFirstAndStopsWhenTheSaveFails()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("docs")));
        const QString path = dir.filePath(QStringLiteral("docs/plans.rtf"));
        writeFile(path, sampleRtf);
        FakeWindow window;
        QVERIFY(window.load(path));
        window.edit.setSelection(0, 0);
        window.edit.insertPlainText(QStringLiteral("New line. "));
        QVERIFY(window.edit.isModified());

        // The folder went away: the save fails, and what is on disk is not protected.
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("docs"), QStringLiteral("moved")));
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        QCOMPARE(dialogs().shown().size(), 1);
        QCOMPARE(dialogs().shown().first().icon, Dialogs::Icon::Error);
        QCOMPARE(window.closed, 0);
        QVERIFY(window.edit.isModified());
        QVERIFY(QDir(dir.path()).rename(QStringLiteral("moved"), QStringLiteral("docs")));
        QCOMPARE(readFile(path), sampleRtf);

        // With the save possible, the new text is what gets protected.
        dialogs().reset();
        dialogs().answerInput(QStringLiteral("pw"));
        dialogs().answerInput(QStringLiteral("pw"));
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        QCOMPARE(window.closed, 1);
        QVERIFY(openContainer(readFile(path), "pw").contains("New line."));
    }

    void protectFailureReportsTheRealCause()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtf"));
        writeFile(path, sampleRtf);
        FakeWindow window;
        QVERIFY(window.load(path));
        window.protection.setSaveFileFactory(FailingSaveFile::factory(100));
        dialogs().answerInput(QStringLiteral("pw"));
        dialogs().answerInput(QStringLiteral("pw"));
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.ProtectDocument1Click();
        QVERIFY2(dialogs().lastMessage().contains(QStringLiteral("No space left on device")),
            qPrintable(dialogs().lastMessage()));
        QCOMPARE(readFile(path), sampleRtf);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("plans.rtf") });
        QCOMPARE(window.closed, 0);
    }

    void unprotectOfAModifiedDocumentAsksToSave()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtf"));
        writeFile(path, sampleRtf);
        FakeWindow window;
        QVERIFY(window.load(path));
        window.edit.setModified(true);
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.UnProtectDocument1Click();
        QCOMPARE(dialogs().messageTexts(), QStringList { QStringLiteral("Save Document before Protection") });
        QCOMPARE(window.closed, 0);
    }

    void unprotectLegacyFile_data()
    {
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("unprotected");
        QTest::addColumn<bool>("closes");
        const QString reopen = QStringLiteral("Re-open your Document for viewing.");
        const QString invalid = QStringLiteral("Invalid Password. Password must be four Characters Long!");
        QTest::newRow("right password") << std::optional<QString>(QStringLiteral("ab")) << true
                                        << QStringList { reopen } << true << true;
        QTest::newRow("wrong password") << std::optional<QString>(QStringLiteral("ba")) << true
                                        << QStringList { QStringLiteral("Bad password !"), reopen } << false << true;
        QTest::newRow("preset left in place") << std::optional<QString>(QStringLiteral("Enter Password - eg. %7&K"))
                                              << true << QStringList { invalid } << false << false;
        QTest::newRow("empty") << std::optional<QString>(QString()) << true << QStringList { invalid } << false
                               << false;
        QTest::newRow("cancelled") << std::optional<QString>() << false << QStringList() << false << false;
        QTest::newRow("not confirmed") << std::optional<QString>(QStringLiteral("ab")) << false << QStringList()
                                       << false << false;
    }
    void unprotectLegacyFile()
    {
        QFETCH(std::optional<QString>, answer);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, after);
        QFETCH(bool, unprotected);
        QFETCH(bool, closes);
        QTemporaryDir dir;
        // A protected plain-text file is not recognised on opening, so it opens as it is and the
        // command unprotects it.
        const QString path = dir.filePath(QStringLiteral("notes.txt"));
        const QByteArray plain = "shopping list";
        const QByteArray sealed = LegacyCipher::encryptBytes(plain, LegacyCipher::passwordValue("ab"));
        writeFile(path, sealed);
        FakeWindow window;
        QVERIFY(window.load(path));

        dialogs().answerInput(answer);
        if (answer)
            dialogs().answerMessage(confirmed ? Dialogs::Yes : Dialogs::No);
        for (int i = 0; i < after.size(); ++i)
            dialogs().answerMessage(Dialogs::Ok);
        window.protection.UnProtectDocument1Click();
        QCOMPARE(dialogs().shown().first().title, QStringLiteral("Unprotect Document"));
        QCOMPARE(dialogs().shown().first().text, QStringLiteral("Please enter your four Character password."));
        QVERIFY(!dialogs().shown().first().masked);
        QStringList texts = dialogs().messageTexts().mid(answer ? 2 : 1);
        QCOMPARE(texts, after);
        QCOMPARE(readFile(path), unprotected ? plain : sealed);
        QCOMPARE(window.closed, closes ? 1 : 0);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("notes.txt") });
    }

    void unprotectContainer_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("unprotected");
        QTest::newRow("right password") << QStringLiteral("lang wachtwoord") << true;
        QTest::newRow("wrong password") << QStringLiteral("kort") << false;
    }
    void unprotectContainer()
    {
        QFETCH(QString, answer);
        QFETCH(bool, unprotected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtc"));
        const QByteArray content = ProtectionTestData::distinctBytes(20000);
        QByteArray sealed;
        QCOMPARE(ProtectedContainer::sealBytes(content, &sealed, "lang wachtwoord", ProtectionTestData::fastKdf()),
            ProtectedContainer::Status::Ok);
        writeFile(path, sealed);
        FakeWindow window;
        window.name = path; // as if opened with its password
        window.save.setProtectionPassword("lang wachtwoord");

        dialogs().answerInput(answer);
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerMessage(Dialogs::Ok);
        if (!unprotected)
            dialogs().answerMessage(Dialogs::Ok);
        window.protection.UnProtectDocument1Click();
        QVERIFY(dialogs().shown().first().masked);
        QCOMPARE(readFile(path), unprotected ? content : sealed);
        QCOMPARE(dialogs().lastMessage(), QStringLiteral("Re-open your Document for viewing."));
        if (!unprotected)
            QVERIFY(dialogs().messageTexts().at(2).startsWith(QStringLiteral("Bad password !")));
        QCOMPARE(window.closed, 1);
        QCOMPARE(window.save.protectionPassword().isEmpty(), unprotected);
    }

    void damagedContainerIsReportedAndKept()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtf"));
        QByteArray sealed;
        ProtectedContainer::sealBytes(
            ProtectionTestData::distinctBytes(40000), &sealed, "pw", ProtectionTestData::fastKdf());
        sealed.chop(40);
        writeFile(path, sealed);
        FakeWindow window;
        window.name = path;
        dialogs().answerInput(QStringLiteral("pw"));
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerMessage(Dialogs::Ok);
        window.protection.UnProtectDocument1Click();
        QVERIFY(dialogs().lastMessage().contains(QStringLiteral("damaged")));
        QCOMPARE(readFile(path), sealed);
        QCOMPARE(window.closed, 0);
        QCOMPARE(folderEntries(dir.path()), QStringList { QStringLiteral("plans.rtf") });
    }

    void openingAContainerAsksForItsPassword()
    {
        QTemporaryDir dir;
        // The extension does not matter: the first bytes do.
        const QString path = dir.filePath(QStringLiteral("plans.txt"));
        QByteArray sealed;
        ProtectedContainer::sealBytes(sampleRtf, &sealed, "pw", ProtectionTestData::fastKdf());
        writeFile(path, sealed);

        FakeWindow window;
        dialogs().answerInput(QStringLiteral("wrong"));
        dialogs().answerMessage(Dialogs::Ok);
        QVERIFY(!window.load(path));
        QVERIFY(dialogs().lastMessage().startsWith(QStringLiteral("Bad password !")));

        dialogs().reset();
        dialogs().answerInput(std::nullopt);
        QVERIFY(!window.load(path));

        dialogs().reset();
        dialogs().answerInput(QStringLiteral("pw"));
        QVERIFY(window.load(path));
        QVERIFY(dialogs().shown().first().masked);
        QCOMPARE(dialogs().shown().first().text,
            QStringLiteral("The document \"plans.txt\" is protected.\nPlease enter its password."));
        QCOMPARE(window.save.protectionPassword(), QByteArray("pw"));
        QCOMPARE(readFile(path), sealed);
    }

    void savingAnOpenedContainerKeepsItProtected_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("rich text") << QStringLiteral("plans.rtf");
        QTest::newRow("compressed") << QStringLiteral("plans.rtc");
        QTest::newRow("plain text") << QStringLiteral("plans.txt");
    }
    void savingAnOpenedContainerKeepsItProtected()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        FakeWindow window;
        window.name = path;
        window.save.setProtectionPassword("pw");
        window.edit.insertPlainText(QStringLiteral("Secret plans for the garden"));
        window.edit.setModified(true);
        QCOMPARE(window.save.save(), SaveCommands::Result::Saved);

        const QByteArray file = readFile(path);
        QVERIFY(ProtectedContainer::hasMagic(file));
        QVERIFY(!file.contains("garden"));
        QCOMPARE(folderEntries(dir.path()), QStringList { name });

        FakeWindow reopened;
        dialogs().answerInput(QStringLiteral("pw"));
        QVERIFY(reopened.load(path));
        QVERIFY(reopened.edit.text().contains(QStringLiteral("Secret plans for the garden")));
    }

    void oldProtectedDocumentIsOfferedForUnprotecting()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("plans.rtc"));
        const QByteArray compressed = qCompress(sampleRtf).mid(4); // a bare zlib stream
        const QByteArray sealed = LegacyCipher::encryptBytes(compressed, LegacyCipher::passwordValue("%7&K"));
        writeFile(path, sealed);

        // Declined: nothing changes and nothing opens that cannot be read.
        FakeWindow declined;
        dialogs().answerMessage(Dialogs::No);
        QVERIFY(!declined.load(path));
        QCOMPARE(dialogs().messageTexts().first(),
            QStringLiteral("The document \"plans.rtc\" is protected the old way.\nDo you want to unprotect it now?"));
        QCOMPARE(readFile(path), sealed);

        dialogs().reset();
        FakeWindow window;
        dialogs().answerMessage(Dialogs::Yes);
        dialogs().answerInput(QStringLiteral("%7&K"));
        dialogs().answerMessage(Dialogs::Yes);
        QVERIFY(window.load(path));
        QCOMPARE(readFile(path), compressed);
        QVERIFY(window.edit.text().contains(QStringLiteral("Secret plans")));
        QVERIFY(window.save.protectionPassword().isEmpty());
    }
};

LUMARO_TEST_CLASS(tst_DocumentProtection)
#include "tst_documentprotection.moc"
