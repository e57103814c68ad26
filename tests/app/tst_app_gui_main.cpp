#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    QTemporaryDir registry;
    qputenv("LUMARO_REGISTRY_FILE", registry.filePath(QStringLiteral("registry.ini")).toLocal8Bit());
    TestSupport::prepareEnvironment();
    QApplication app(argc, argv);
    TestSupport::installDialogs();
    return TestSupport::runRegisteredTests(argc, argv);
}
