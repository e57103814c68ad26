#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    // The frame's start registers the browser emulation: no test may reach the machine's own
    // registry stand-in.
    QTemporaryDir registry;
    qputenv("LUMARO_REGISTRY_FILE", registry.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    TestSupport::prepareEnvironment();
    QApplication app(argc, argv);
    TestSupport::installDialogs();
    return TestSupport::runRegisteredTests(argc, argv);
}
