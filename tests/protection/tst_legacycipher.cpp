#include "platform/crypto/LegacyCipher.h"
#include "tests/protection/ProtectionTestData.h"
#include "tests/support/TestMain.h"

#include <QBuffer>

namespace {

QByteArray encryptStream(const QByteArray &plain, quint32 p)
{
    QByteArray in = plain;
    QBuffer source(&in);
    source.open(QIODevice::ReadOnly);
    QByteArray out;
    QBuffer sink(&out);
    sink.open(QIODevice::WriteOnly);
    if (LegacyCipher::encrypt(source, sink, p) != LegacyCipher::Status::Ok)
        return {};
    return out;
}

// A device that hands out at most a few bytes per read, as a pipe may.
class TrickleDevice : public QIODevice
{
public:
    explicit TrickleDevice(QByteArray data)
        : m_data(std::move(data))
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = std::min<qint64>({ maxSize, 7, m_data.size() - m_pos });
        std::copy_n(m_data.constData() + m_pos, n, data);
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

} // namespace

class tst_LegacyCipher : public QObject
{
    Q_OBJECT

private slots:
    void protectsExactlyAsOldFilesWere()
    {
        const quint32 p = LegacyCipher::passwordValue("ab");
        QCOMPARE(p, quint32('a' + 256 * 'b'));
        QCOMPARE(encryptStream("abc", p), QByteArray::fromHex("8a8478036464 66"));
        QCOMPARE(LegacyCipher::encryptBytes("abc", p), QByteArray::fromHex("8a847803646466"));
        // An empty file becomes its check word alone.
        QCOMPARE(encryptStream(QByteArray(), p), QByteArray::fromHex("8a847803"));
    }

    void passwordValueIsZeroFilledLittleEndian_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<quint32>("value");
        QTest::newRow("empty") << QByteArray() << 0u;
        QTest::newRow("one character") << QByteArray("A") << 0x41u;
        QTest::newRow("four characters") << QByteArray("%7&K") << 0x4B263725u;
        QTest::newRow("high bytes") << QByteArray("\xff\x80") << 0x80FFu;
    }
    void passwordValueIsZeroFilledLittleEndian()
    {
        QFETCH(QByteArray, password);
        QFETCH(quint32, value);
        QCOMPARE(LegacyCipher::passwordValue(password), value);
    }

    void roundTripRestoresEveryByte_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QByteArray>("password");
        for (int size : { 0, 1, 3, 16383, 16384, 16385, 100000 })
            QTest::addRow("%d bytes", size) << size << QByteArray("%7&K");
        QTest::newRow("one-character password") << 5000 << QByteArray("x");
    }
    void roundTripRestoresEveryByte()
    {
        QFETCH(int, size);
        QFETCH(QByteArray, password);
        const QByteArray plain = ProtectionTestData::distinctBytes(size);
        const quint32 p = LegacyCipher::passwordValue(password);
        const QByteArray sealed = encryptStream(plain, p);
        QCOMPARE(sealed.size(), size + 4);
        QCOMPARE(LegacyCipher::encryptBytes(plain, p), sealed);

        QBuffer source;
        source.setData(sealed);
        source.open(QIODevice::ReadOnly);
        QByteArray back;
        QBuffer sink(&back);
        sink.open(QIODevice::WriteOnly);
        QCOMPARE(LegacyCipher::decrypt(source, sink, p), LegacyCipher::Status::Ok);
        QCOMPARE(back, plain);
        QCOMPARE(LegacyCipher::decryptBytes(sealed, p).value_or(QByteArray("-")), plain);
    }

    void drawsContinueAcrossBlocksAndShortReads()
    {
        // The generator runs on over block boundaries: a stream handed out in small pieces gives
        // the same file as one whole buffer.
        const QByteArray plain = ProtectionTestData::distinctBytes(40000);
        const quint32 p = LegacyCipher::passwordValue("key");
        TrickleDevice source(plain);
        QByteArray out;
        QBuffer sink(&out);
        sink.open(QIODevice::WriteOnly);
        QCOMPARE(LegacyCipher::encrypt(source, sink, p), LegacyCipher::Status::Ok);
        QCOMPARE(out, LegacyCipher::encryptBytes(plain, p));
    }

    void wrongPasswordOrShortFileIsRefusedBeforeAnyOutput_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("status");
        const QByteArray sealed = LegacyCipher::encryptBytes("{\\rtf1 text}", LegacyCipher::passwordValue("ab"));
        QTest::newRow("wrong password") << sealed << int(LegacyCipher::Status::BadPassword);
        QTest::newRow("three bytes") << sealed.left(3) << int(LegacyCipher::Status::TooShort);
        QTest::newRow("empty") << QByteArray() << int(LegacyCipher::Status::TooShort);
    }
    void wrongPasswordOrShortFileIsRefusedBeforeAnyOutput()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, status);
        QBuffer source;
        source.setData(file);
        source.open(QIODevice::ReadOnly);
        QByteArray out;
        QBuffer sink(&out);
        sink.open(QIODevice::WriteOnly);
        QCOMPARE(int(LegacyCipher::decrypt(source, sink, LegacyCipher::passwordValue("ba"))), status);
        QVERIFY(out.isEmpty());
    }

    void recognisesOldProtectedDocuments_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("recognised");
        auto sealed = [](const QByteArray &plain, const QByteArray &password) {
            return LegacyCipher::encryptBytes(plain, LegacyCipher::passwordValue(password));
        };
        const QByteArray rtf("{\\rtf1\\ansi hello}");
        const QByteArray zlib = QByteArray::fromHex("7801") + QByteArray(20, 'z');
        QTest::newRow("rich text, four characters") << sealed(rtf, "%7&K") << true;
        QTest::newRow("rich text, one character") << sealed(rtf, "q") << true;
        QTest::newRow("compressed rich text") << sealed(zlib, "ab") << true;
        QTest::newRow("plain text") << sealed("just some words here", "ab") << false;
        QTest::newRow("empty password") << sealed(rtf, "") << false;
        QTest::newRow("zero byte inside the password") << sealed(rtf, QByteArray("a\0b", 3)) << false;
        QTest::newRow("unprotected rich text") << rtf << false;
        QTest::newRow("container magic") << QByteArray(")VLP\x02\x01\x01 and more bytes") << false;
        QTest::newRow("too short") << sealed(rtf, "ab").left(5) << false;
    }
    void recognisesOldProtectedDocuments()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, recognised);
        QCOMPARE(LegacyCipher::recognise(file).has_value(), recognised);
    }

    void containerMagicIsNoOldCheckWord()
    {
        // As an old check word, ")VLP" would need a password whose first byte is zero, which the
        // old scheme never wrote.
        const quint32 p = LegacyCipher::passwordValue(")VLP") - quint32(LegacyCipher::DefaultKey);
        QCOMPARE(p & 0xFFu, 0u);
    }
};

LUMARO_TEST_CLASS(tst_LegacyCipher)
#include "tst_legacycipher.moc"
