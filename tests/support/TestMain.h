#pragma once

#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace TestSupport {

// Sets up what every test process needs: a headless platform, a private runtime folder, a fresh
// LUMARO_HOME and the scripted dialogs.
void prepareEnvironment();
void installDialogs();

// A fresh, empty LUMARO_HOME for one test; the previous value comes back when it goes.
class FreshHome
{
public:
    FreshHome();
    ~FreshHome();
    QString path() const { return m_dir.path(); }
    QString file(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};

// The project's source folder and the shared folder beside the checkout.
QString sourceDir();
QString sharedDir();
QString testData(const QString &name);

// Test classes of one subsystem register themselves (LUMARO_TEST_CLASS) and one main runs them
// all (LUMARO_TEST_SUITE_MAIN); "-class Name" as the first arguments runs one class only.
using TestFactory = QObject *(*)();
int registerTestClass(const char *name, TestFactory factory);
int runRegisteredTests(int argc, char **argv);

} // namespace TestSupport

#define LUMARO_TEST_CLASS(TestObject)                                                                        \
    static const int lumaroRegistered##TestObject                                                            \
        = TestSupport::registerTestClass(#TestObject, []() -> QObject * { return new TestObject; });

#define LUMARO_TEST_SUITE_MAIN()                                                                             \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        QApplication app(argc, argv);                                                                        \
        TestSupport::installDialogs();                                                                       \
        return TestSupport::runRegisteredTests(argc, argv);                                                  \
    }

#define LUMARO_TEST_MAIN(TestObject)                                                                         \
    int main(int argc, char **argv)                                                                          \
    {                                                                                                        \
        TestSupport::prepareEnvironment();                                                                   \
        QApplication app(argc, argv);                                                                        \
        TestSupport::installDialogs();                                                                       \
        TestObject tc;                                                                                       \
        return QTest::qExec(&tc, argc, argv);                                                                \
    }
