#include "platform/crypto/ProtectedContainer.h"
#include "tests/protection/ProtectionTestData.h"
#include "tests/support/TestMain.h"

#include <QBuffer>

using Status = ProtectedContainer::Status;
Q_DECLARE_METATYPE(ProtectedContainer::Status)

namespace {

QByteArray sealFast(const QByteArray &plain, const QByteArray &password)
{
    QByteArray out;
    if (ProtectedContainer::sealBytes(plain, &out, password, ProtectionTestData::fastKdf()) != Status::Ok)
        return {};
    return out;
}

// Opens into a buffer and reports what reached the output, to see that nothing of a refused
// file is handed on as if it were whole.
Status openInto(
    const QByteArray &file, const QByteArray &password, QByteArray *out, const ProtectedContainer::Limits &limits = {})
{
    return ProtectedContainer::openBytes(file, out, password, limits);
}

bool containsAnyRun(const QByteArray &haystack, const QByteArray &plain, int run)
{
    for (qsizetype i = 0; i + run <= plain.size(); ++i) {
        if (haystack.contains(plain.mid(i, run)))
            return true;
    }
    return false;
}

void putWord(QByteArray &bytes, int offset, quint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = char(value >> (8 * i));
}

} // namespace

class tst_ProtectedContainer : public QObject
{
    Q_OBJECT

private slots:
    void roundTripRestoresEveryByte_data()
    {
        QTest::addColumn<int>("size");
        for (int size : { 0, 1, 16383, 16384, 16385, 32768, 100001 })
            QTest::addRow("%d bytes", size) << size;
    }
    void roundTripRestoresEveryByte()
    {
        QFETCH(int, size);
        const QByteArray plain = ProtectionTestData::distinctBytes(size);
        const QByteArray sealed = sealFast(plain, "correct horse");
        const qsizetype chunks
            = size / ProtectedContainer::ChunkSize + 1 - (size > 0 && size % ProtectedContainer::ChunkSize == 0);
        QCOMPARE(sealed.size(), ProtectedContainer::HeaderSize + size + chunks * ProtectedContainer::ChunkOverhead);
        QCOMPARE(sealed.left(7), QByteArray::fromHex("29564c50020101"));
        QByteArray back("untouched");
        QCOMPARE(openInto(sealed, "correct horse", &back), Status::Ok);
        QCOMPARE(back, plain);
    }

    void newFilesUseInteractiveArgon2idOrStronger()
    {
        QByteArray sealed;
        QCOMPARE(ProtectedContainer::sealBytes("text", &sealed, "pw"), Status::Ok);
        ProtectedContainer::Header header;
        QCOMPARE(ProtectedContainer::parseHeader(sealed, &header), Status::Ok);
        QCOMPARE(header.kdf, ProtectedContainer::KdfArgon2id);
        QVERIFY(header.parameters.opsLimit >= 2);
        QVERIFY(header.parameters.memLimitKiB >= 64 * 1024);
        QByteArray back;
        QCOMPARE(openInto(sealed, "pw", &back), Status::Ok);
        QCOMPARE(back, QByteArray("text"));
    }

    void holdsNeitherPasswordNorPlainText()
    {
        const QByteArray password = "a rather memorable passphrase";
        const QByteArray plain = ProtectionTestData::distinctBytes(50000, 7);
        const QByteArray sealed = sealFast(plain, password);
        QVERIFY(!sealed.contains(password));
        QVERIFY(!containsAnyRun(sealed, plain, 16));
        // Two seals of the same content with the same password differ (fresh salt and nonce).
        QVERIFY(sealFast(plain, password) != sealed);
    }

    void passwordLengthIsOneTo1024Bytes_data()
    {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<Status>("status");
        QTest::newRow("empty") << QByteArray() << Status::InvalidPassword;
        QTest::newRow("one byte") << QByteArray("x") << Status::Ok;
        QTest::newRow("1024 bytes") << QByteArray(1024, 'p') << Status::Ok;
        QTest::newRow("1025 bytes") << QByteArray(1025, 'p') << Status::InvalidPassword;
        QTest::newRow("UTF-8") << QStringLiteral("pässwörd ✓").toUtf8() << Status::Ok;
    }
    void passwordLengthIsOneTo1024Bytes()
    {
        QFETCH(QByteArray, password);
        QFETCH(Status, status);
        QByteArray sealed;
        QCOMPARE(ProtectedContainer::sealBytes("content", &sealed, password, ProtectionTestData::fastKdf()), status);
        if (status != Status::Ok)
            return;
        QByteArray back;
        QCOMPARE(openInto(sealed, password, &back), Status::Ok);
        QCOMPARE(back, QByteArray("content"));
    }

    void wrongPasswordIsRefused()
    {
        const QByteArray sealed = sealFast(ProtectionTestData::distinctBytes(40000), "right");
        QByteArray back("untouched");
        QCOMPARE(openInto(sealed, "wrong", &back), Status::WrongPassword);
        QCOMPARE(back, QByteArray("untouched"));
        QVERIFY(ProtectedContainer::message(Status::WrongPassword).startsWith(QStringLiteral("Bad password !")));
    }

    void damagedFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Status>("status");
        const QByteArray sealed = sealFast(ProtectionTestData::distinctBytes(40000), "pw");
        const int firstChunkEnd
            = ProtectedContainer::HeaderSize + ProtectedContainer::ChunkSize + ProtectedContainer::ChunkOverhead;
        auto flipped = [&](int offset) {
            QByteArray f = sealed;
            f[offset] = char(f[offset] ^ 0x01);
            return f;
        };
        QTest::newRow("cut after the header") << sealed.left(ProtectedContainer::HeaderSize) << Status::Truncated;
        QTest::newRow("cut inside the header") << sealed.left(30) << Status::Truncated;
        QTest::newRow("cut at a chunk boundary") << sealed.left(firstChunkEnd) << Status::Truncated;
        QTest::newRow("cut in the last chunk") << sealed.chopped(1) << Status::Damaged;
        // Bytes added to a short last chunk make it fail its authentication; after a full one
        // they are found as data after the end.
        QTest::newRow("byte appended") << sealed + QByteArray(1, '\0') << Status::Damaged;
        QTest::newRow("chunk appended") << sealed + sealed.mid(firstChunkEnd, 100) << Status::Damaged;
        const QByteArray fullChunk = sealFast(ProtectionTestData::distinctBytes(ProtectedContainer::ChunkSize), "pw");
        QTest::newRow("byte after a full last chunk") << fullChunk + QByteArray(1, 'x') << Status::TrailingData;
        QTest::newRow("empty file extended")
            << sealFast(QByteArray(), "pw") + QByteArray(3, 'x') << Status::WrongPassword;
        QTest::newRow("flipped version") << flipped(4) << Status::UnsupportedVersion;
        QTest::newRow("flipped cipher id") << flipped(6) << Status::UnsupportedVersion;
        QTest::newRow("flipped salt") << flipped(20) << Status::WrongPassword;
        QTest::newRow("flipped stream header") << flipped(40) << Status::WrongPassword;
        QTest::newRow("flipped first chunk") << flipped(100) << Status::WrongPassword;
        QTest::newRow("flipped second chunk") << flipped(firstChunkEnd + 5) << Status::Damaged;
        QTest::newRow("flipped last byte") << flipped(sealed.size() - 1) << Status::Damaged;
        QByteArray swapped = sealed;
        // The chunks are bound to their order.
        const int second = firstChunkEnd;
        const int third = second + ProtectedContainer::ChunkSize + ProtectedContainer::ChunkOverhead;
        const QByteArray a = sealed.mid(second, third - second);
        swapped.replace(second, a.size(), sealed.mid(firstChunkEnd - a.size(), a.size()));
        QTest::newRow("chunk replaced") << swapped << Status::Damaged;
        QTest::newRow("not a container") << QByteArray("{\\rtf1 plain}") << Status::NotContainer;
    }
    void damagedFilesAreRefused()
    {
        QFETCH(QByteArray, file);
        QFETCH(Status, status);
        QByteArray back("untouched");
        const Status got = openInto(file, "pw", &back);
        QCOMPARE(got, status);
        QCOMPARE(back, QByteArray("untouched"));
        QVERIFY(!ProtectedContainer::message(got).isEmpty());
    }

    void keyParametersAreBoundedBeforeUse_data()
    {
        QTest::addColumn<quint32>("ops");
        QTest::addColumn<quint32>("memKiB");
        QTest::addColumn<Status>("status");
        QTest::newRow("memory above 1 GiB") << 2u << (1024u * 1024u + 1u) << Status::BadParameters;
        QTest::newRow("memory 4 GiB") << 2u << 0xFFFFFFFFu << Status::BadParameters;
        QTest::newRow("memory below the minimum") << 2u << 1u << Status::BadParameters;
        QTest::newRow("no passes") << 0u << 8u << Status::BadParameters;
        QTest::newRow("absurd passes") << 0xFFFFFFFFu << 8u << Status::BadParameters;
        QTest::newRow("in range") << 1u << 8u << Status::Ok;
    }
    void keyParametersAreBoundedBeforeUse()
    {
        QFETCH(quint32, ops);
        QFETCH(quint32, memKiB);
        QFETCH(Status, status);
        QByteArray sealed = sealFast("abc", "pw");
        putWord(sealed, 7, ops);
        putWord(sealed, 11, memKiB);
        QCOMPARE(ProtectedContainer::parseHeader(sealed, nullptr), status);
        QByteArray back;
        QCOMPARE(openInto(sealed, "pw", &back), status);
    }

    void changedParametersAreDetected()
    {
        QByteArray sealed = sealFast("abc", "pw");
        putWord(sealed, 11, 16); // a different, valid memory limit gives another key
        QByteArray back;
        QCOMPARE(openInto(sealed, "pw", &back), Status::WrongPassword);
    }
};

LUMARO_TEST_CLASS(tst_ProtectedContainer)
#include "tst_protectedcontainer.moc"
