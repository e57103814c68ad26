#include "platform/crypto/LegacyCipher.h"
#include "platform/crypto/ProtectedContainer.h"
#include "tests/protection/FailingSaveFile.h"
#include "tests/protection/ProtectionTestData.h"
#include "tests/shell/ShellFixture.h"

#include "editor/DocumentIO.h"
#include "editor/richtext/RxRichEdit.h"

#include <QDir>

namespace {

QByteArray sealed(const QByteArray &plain, const QByteArray &password)
{
    QByteArray out;
    ProtectedContainer::sealBytes(plain, &out, password, ProtectionTestData::fastKdf());
    return out;
}

} // namespace

// The protection as the document window and the frame run it.
class tst_ProtectedWindow : public QObject
{
    Q_OBJECT

private slots:
    void openEditSaveKeepsTheDocumentProtected()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("diary.rtc"));
        ShellFixture::writeFile(path, sealed(qCompress(sampleRtf()).mid(4), "pw"));
        TFrameForm *frame = fx.showFrame();

        fx.dialogs().answerInput(QStringLiteral("pw"));
        QString error;
        QVERIFY(frame->openInNewWindow(path, &error));
        TEditForm *doc = frame->activeDocument();
        QCOMPARE(doc->DocumentFileName(), path);
        const QString text = doc->Editor()->toPlainText();
        QVERIFY(!text.isEmpty());

        doc->Editor()->setSelection(0, 0);
        doc->Editor()->insertPlainText(QStringLiteral("Dear diary, "));
        QVERIFY(doc->Editor()->isModified());
        doc->saveCommands().save();
        QCOMPARE(fx.dialogs().unexpectedCount(), 0);
        const QByteArray file = ShellFixture::readFile(path);
        QVERIFY(ProtectedContainer::hasMagic(file));
        QVERIFY(!file.contains("diary"));
        QCOMPARE(QDir(fx.docs()).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("diary.rtc") });

        fx.dialogs().answerInput(QStringLiteral("pw"));
        QVERIFY(frame->openInNewWindow(path, &error));
        QVERIFY(frame->activeDocument()->Editor()->toPlainText().startsWith(QStringLiteral("Dear diary, ")));
    }

    void protectClosesTheWindowAndUnprotectRestoresTheFile()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("letter.rtf"));
        const QByteArray original = sampleRtf();
        ShellFixture::writeFile(path, original);
        TFrameForm *frame = fx.showFrame({ path });
        QPointer<TEditForm> doc = frame->activeDocument();
        QVERIFY(doc);

        fx.dialogs().answerInput(QStringLiteral("secret words"));
        fx.dialogs().answerInput(QStringLiteral("secret words"));
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerMessage(Dialogs::Ok);
        doc->protection().ProtectDocument1Click();
        ShellFixture::flushDeletes();
        QVERIFY(doc.isNull() || doc->isClosed());
        QVERIFY(ProtectedContainer::hasMagic(ShellFixture::readFile(path)));

        fx.dialogs().reset();
        fx.dialogs().answerInput(QStringLiteral("secret words"));
        QString error;
        QVERIFY(frame->openInNewWindow(path, &error));
        doc = frame->activeDocument();
        fx.dialogs().answerInput(QStringLiteral("secret words"));
        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerMessage(Dialogs::Ok);
        doc->protection().UnProtectDocument1Click();
        ShellFixture::flushDeletes();
        QCOMPARE(fx.dialogs().lastMessage(), QStringLiteral("Re-open your Document for viewing."));
        QVERIFY(doc.isNull() || doc->isClosed());
        QCOMPARE(ShellFixture::readFile(path), original);
        QCOMPARE(fx.dialogs().unexpectedCount(), 0);
    }

    void oldProtectedCompressedFileOpensAfterUnprotecting()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("old.rtc"));
        const QByteArray compressed = qCompress(sampleRtf()).mid(4);
        ShellFixture::writeFile(path, LegacyCipher::encryptBytes(compressed, LegacyCipher::passwordValue("K9")));
        TFrameForm *frame = fx.showFrame();

        fx.dialogs().answerMessage(Dialogs::Yes);
        fx.dialogs().answerInput(QStringLiteral("K9"));
        fx.dialogs().answerMessage(Dialogs::Yes);
        QString error;
        QVERIFY(frame->openInNewWindow(path, &error));
        QCOMPARE(frame->activeDocument()->DocumentFileName(), path);
        QVERIFY(!frame->activeDocument()->Editor()->toPlainText().isEmpty());
        QCOMPARE(ShellFixture::readFile(path), compressed);
        QCOMPARE(fx.dialogs().unexpectedCount(), 0);
    }

    void headlessConversionRefusesProtectedFiles()
    {
        ShellFixture fx;
        const QString path = fx.file(QStringLiteral("locked.rtf"));
        ShellFixture::writeFile(path, sealed(sampleRtf(), "pw"));
        TRxRichEdit editor;
        QString error;
        QVERIFY(!DocumentIO::load(editor, path, &error));
        QVERIFY2(error.contains(QStringLiteral("protected with a password")), qPrintable(error));
    }
};

LUMARO_TEST_CLASS(tst_ProtectedWindow)
#include "tst_protectedwindow.moc"
