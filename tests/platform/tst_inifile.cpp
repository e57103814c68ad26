#include "platform/IniFile.h"
#include "tests/support/TestMain.h"

#include <QFile>

class tst_IniFile : public QObject
{
    Q_OBJECT

private:
    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void missingFileAndKeyGiveDefaults()
    {
        TestSupport::FreshHome home;
        IniFile ini(home.file(QStringLiteral("none.ini")));
        QCOMPARE(ini.readString(QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("x")), QStringLiteral("x"));
        QCOMPARE(ini.readInteger(QStringLiteral("A"), QStringLiteral("b"), 7), 7);
        QCOMPARE(ini.readBool(QStringLiteral("A"), QStringLiteral("b"), true), true);
    }

    void namesMatchWithoutCase()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("a.ini"));
        writeFile(path, "[InterFace]\r\nView Rulers=0\r\n");
        IniFile ini(path);
        QCOMPARE(ini.readBool(QStringLiteral("Interface"), QStringLiteral("view rulers"), true), false);
        QVERIFY(ini.writeBool(QStringLiteral("INTERFACE"), QStringLiteral("VIEW RULERS"), true));
        QCOMPARE(ini.sections(), QStringList{QStringLiteral("InterFace")});
        QCOMPARE(ini.keys(QStringLiteral("interface")).size(), 1);
        QCOMPARE(ini.readBool(QStringLiteral("Interface"), QStringLiteral("View Rulers"), false), true);
    }

    void booleansAndIntegers_data()
    {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("asBool");
        QTest::addColumn<int>("asInt");
        QTest::newRow("one") << QByteArray("1") << true << 1;
        QTest::newRow("zero") << QByteArray("0") << false << 0;
        QTest::newRow("any non-zero") << QByteArray("42") << true << 42;
        QTest::newRow("negative") << QByteArray("-3") << true << -3;
        QTest::newRow("leading digits") << QByteArray("12abc") << true << 12;
        QTest::newRow("spaces") << QByteArray("  5  ") << true << 5;
        // Not a number: the default (false / 99) applies.
        QTest::newRow("word") << QByteArray("true") << false << 99;
        QTest::newRow("empty") << QByteArray("") << false << 99;
    }
    void booleansAndIntegers()
    {
        QFETCH(QByteArray, value);
        QFETCH(bool, asBool);
        QFETCH(int, asInt);
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("b.ini"));
        writeFile(path, "[S]\nk=" + value + "\n");
        IniFile ini(path);
        QCOMPARE(ini.readBool(QStringLiteral("S"), QStringLiteral("k"), false), asBool);
        QCOMPARE(ini.readInteger(QStringLiteral("S"), QStringLiteral("k"), 99), asInt);
    }

    void writingOneKeyKeepsEveryOtherLine()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("c.ini"));
        writeFile(path, "; my settings\r\n[View Layout]\r\nView=0\r\nScreen = 1\r\n\r\n[Other]\r\nodd line without equals\r\nx=y\r\n");
        IniFile ini(path);
        QVERIFY(ini.writeBool(QStringLiteral("View Layout"), QStringLiteral("View"), true));
        QCOMPARE(readFile(path),
                 QByteArray("; my settings\r\n[View Layout]\r\nView=1\r\nScreen = 1\r\n\r\n[Other]\r\nodd line without equals\r\nx=y\r\n"));
        // A new key lands at the end of its section, a new section at the end of the file.
        QVERIFY(ini.writeString(QStringLiteral("view layout"), QStringLiteral("Extra"), QStringLiteral("v")));
        QVERIFY(ini.writeInteger(QStringLiteral("New"), QStringLiteral("n"), 5));
        QCOMPARE(readFile(path),
                 QByteArray("; my settings\r\n[View Layout]\r\nView=1\r\nScreen = 1\r\nExtra=v\r\n\r\n[Other]\r\nodd line without equals\r\nx=y\r\n\r\n[New]\r\nn=5\r\n"));
        QCOMPARE(ini.readInteger(QStringLiteral("new"), QStringLiteral("N"), 0), 5);
    }

    void writeToUnwritableFolderFails()
    {
        IniFile ini(QStringLiteral("/proc/lumaro-no-such-folder/x.ini"));
        QVERIFY(!ini.writeBool(QStringLiteral("A"), QStringLiteral("b"), true));
    }
};

LUMARO_TEST_CLASS(tst_IniFile)
#include "tst_inifile.moc"
