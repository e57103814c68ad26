#include "app/BrowserEmulation.h"
#include "app/DesktopSettings.h"
#include "platform/RegistryStore.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A store path that cannot be created even with every right: its folder would lie inside a
// regular file.
QString unwritableStore(const TestSupport::FreshHome &home)
{
    const QString blocker = home.file(QStringLiteral("not-a-folder"));
    QFile f(blocker);
    if (f.open(QIODevice::WriteOnly))
        f.write("x");
    return blocker + QStringLiteral("/registry.ini");
}

} // namespace

class tst_BrowserEmulation : public QObject
{
    Q_OBJECT

private slots:
    void storeDefaultsToTheSystemFolder()
    {
        const QByteArray saved = qgetenv("LUMARO_REGISTRY_FILE");
        qunsetenv("LUMARO_REGISTRY_FILE");
        QCOMPARE(RegistryStore::defaultPath(), QStringLiteral("/etc/velmora-lumaro/registry.ini"));
        qputenv("LUMARO_REGISTRY_FILE", "/tmp/elsewhere/registry.ini");
        QCOMPARE(RegistryStore::defaultPath(), QStringLiteral("/tmp/elsewhere/registry.ini"));
        qputenv("LUMARO_REGISTRY_FILE", saved);
    }

    void storeWritesIntoTheOpenKeyOnly()
    {
        TestSupport::FreshHome home;
        const QString path = home.file(QStringLiteral("etc/velmora-lumaro/registry.ini"));
        RegistryStore store(path);
        QVERIFY(!store.writeInteger(QStringLiteral("Before.exe"), 1)); // no key open
        QVERIFY(store.openKey(QStringLiteral("\\Software\\Vendor\\Feature")));
        QVERIFY(store.writeInteger(QStringLiteral("A.exe"), 11000));
        QVERIFY(store.writeInteger(QStringLiteral("Big.exe"), 0xFFFFFFFFu));
        QVERIFY(!store.writeInteger(QStringLiteral("bad=name"), 1));
        QVERIFY(store.openKey(QStringLiteral("\\Software\\Other")));
        QVERIFY(store.writeInteger(QStringLiteral("A.exe"), 5));
        store.closeKey();
        QVERIFY(!store.writeInteger(QStringLiteral("After.exe"), 1));

        QCOMPARE(store.readInteger(QStringLiteral("\\Software\\Vendor\\Feature"), QStringLiteral("A.exe")), 11000u);
        QCOMPARE(
            store.readInteger(QStringLiteral("Software\\Vendor\\Feature"), QStringLiteral("big.exe")), 0xFFFFFFFFu);
        QCOMPARE(store.readInteger(QStringLiteral("\\Software\\Other"), QStringLiteral("A.exe")), 5u);
        QCOMPARE(store.readInteger(QStringLiteral("\\Software\\Other"), QStringLiteral("After.exe")), std::nullopt);
        QCOMPARE(readFile(path),
            QByteArray("[HKEY_LOCAL_MACHINE\\Software\\Vendor\\Feature]\r\n"
                       "A.exe=11000\r\n"
                       "Big.exe=4294967295\r\n"
                       "\r\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                       "A.exe=5\r\n"));
    }

    void storeRefusesWithoutWriteAccess()
    {
        TestSupport::FreshHome home;
        RegistryStore blocked(unwritableStore(home));
        QVERIFY(!blocked.openKey(BrowserEmulation::keyPath()));
        QVERIFY(!blocked.isOpen());
        QVERIFY(!blocked.writeInteger(BrowserEmulation::valueName(), 1));

        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the superuser");
        const QString folder = home.file(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        RegistryStore readOnly(folder + QStringLiteral("/registry.ini"));
        QVERIFY(!readOnly.openKey(BrowserEmulation::keyPath()));
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    void registersOnceAndRemembersIt()
    {
        TestSupport::FreshHome home;
        const QString storePath = home.file(QStringLiteral("registry/registry.ini"));
        DesktopSettings settings;
        QVERIFY(settings.setViewRulers(false));
        {
            RegistryStore store(storePath);
            QCOMPARE(BrowserEmulation::ensureRegistered(settings, store), BrowserEmulation::Outcome::Registered);
            QCOMPARE(store.readInteger(BrowserEmulation::keyPath(), QStringLiteral("Lumaro.exe")), 11000u);
            QVERIFY(!store.isOpen());
        }
        QCOMPARE(settings.browserEmulationMarker(), QStringLiteral("IE9Word"));
        QVERIFY(!settings.viewRulers());
        QVERIFY(readFile(storePath).startsWith("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet "
                                               "Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION]\r\n"
                                               "Lumaro.exe=11000\r\n"));

        // Later starts leave the store alone, even when someone has removed the value since.
        QVERIFY(QFile::remove(storePath));
        const QByteArray settingsBefore = readFile(settings.path());
        for (int start = 0; start < 2; ++start) {
            RegistryStore store(storePath);
            QCOMPARE(BrowserEmulation::ensureRegistered(settings, store), BrowserEmulation::Outcome::AlreadyRegistered);
        }
        QVERIFY(!QFile::exists(storePath));
        QCOMPARE(readFile(settings.path()), settingsBefore);
    }

    void refusedRegistrationIsRetriedAtTheNextStart()
    {
        TestSupport::FreshHome home;
        DesktopSettings settings;
        {
            RegistryStore store(unwritableStore(home));
            QCOMPARE(BrowserEmulation::ensureRegistered(settings, store), BrowserEmulation::Outcome::Refused);
        }
        // Nothing was written anywhere: no settings file, the marker still unset.
        QVERIFY(!QFile::exists(settings.path()));
        QCOMPARE(settings.browserEmulationMarker(), QStringLiteral("None"));

        const QString storePath = home.file(QStringLiteral("registry.ini"));
        RegistryStore store(storePath);
        QCOMPARE(BrowserEmulation::ensureRegistered(settings, store), BrowserEmulation::Outcome::Registered);
        QCOMPARE(store.readInteger(BrowserEmulation::keyPath(), BrowserEmulation::valueName()), 11000u);
        QVERIFY(settings.isBrowserEmulationRegistered());
    }

    void markerOtherThanRegisteredMeansNotDone_data()
    {
        QTest::addColumn<QByteArray>("marker");
        QTest::newRow("None") << QByteArray("None");
        QTest::newRow("empty") << QByteArray("");
    }
    void markerOtherThanRegisteredMeansNotDone()
    {
        QFETCH(QByteArray, marker);
        TestSupport::FreshHome home;
        DesktopSettings settings;
        QFile f(settings.path());
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Internet Explorer Emulation]\r\nNetSurferWord=" + marker + "\r\n");
        f.close();
        RegistryStore store(home.file(QStringLiteral("registry.ini")));
        QCOMPARE(BrowserEmulation::ensureRegistered(settings, store), BrowserEmulation::Outcome::Registered);
        QCOMPARE(settings.browserEmulationMarker(), QStringLiteral("IE9Word"));
    }
};

LUMARO_TEST_CLASS(tst_BrowserEmulation)
#include "tst_browseremulation.moc"
