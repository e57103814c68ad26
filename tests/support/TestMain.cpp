#include "tests/support/TestMain.h"

#include <QDir>

#include <vector>

namespace TestSupport {

namespace {
std::unique_ptr<QTemporaryDir> g_processHome;
}

void prepareEnvironment()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + QStringLiteral("/lumaro-test-runtime");
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
    }
    g_processHome = std::make_unique<QTemporaryDir>();
    qputenv("LUMARO_HOME", g_processHome->path().toLocal8Bit());
    // The stand-in for the system registry must never be the real one under /etc.
    qputenv("LUMARO_REGISTRY_FILE", (g_processHome->path() + QStringLiteral("/registry/registry.ini")).toLocal8Bit());
}

void installDialogs()
{
    Dialogs::setInstance(&ScriptedDialogs::installed());
}

FreshHome::FreshHome()
    : m_previous(qgetenv("LUMARO_HOME"))
{
    qputenv("LUMARO_HOME", m_dir.path().toLocal8Bit());
}

FreshHome::~FreshHome()
{
    qputenv("LUMARO_HOME", m_previous);
}

QString sourceDir()
{
    return QStringLiteral(LUMARO_SOURCE_DIR_STR);
}

QString sharedDir()
{
    const QString fromEnv = qEnvironmentVariable("LUMARO_SHARED_DIR");
    return fromEnv.isEmpty() ? sourceDir() + QStringLiteral("/../shared") : fromEnv;
}

QString testData(const QString &name)
{
    return sourceDir() + QStringLiteral("/tests/data/") + name;
}

namespace {
struct Registered
{
    const char *name;
    TestFactory factory;
};
std::vector<Registered> &registry()
{
    static std::vector<Registered> r;
    return r;
}
} // namespace

int registerTestClass(const char *name, TestFactory factory)
{
    registry().push_back({name, factory});
    return int(registry().size());
}

int runRegisteredTests(int argc, char **argv)
{
    std::vector<char *> args(argv, argv + argc);
    QByteArray only;
    if (args.size() >= 3 && qstrcmp(args[1], "-class") == 0) {
        only = args[2];
        args.erase(args.begin() + 1, args.begin() + 3);
    }
    int failures = 0;
    for (const Registered &r : registry()) {
        if (!only.isEmpty() && only != r.name)
            continue;
        std::unique_ptr<QObject> test(r.factory());
        ScriptedDialogs::installed().reset();
        failures += QTest::qExec(test.get(), int(args.size()), args.data());
    }
    return failures;
}

} // namespace TestSupport
