#include "tests/support/TestMain.h"

int main(int argc, char **argv)
{
    // These tests must never reach a real printer: point the printing system at a server that
    // does not exist, before anything asks it for its printers.
    qputenv("CUPS_SERVER", "/nonexistent/lumaro-no-cups.sock");
    TestSupport::prepareEnvironment();
    QApplication app(argc, argv);
    TestSupport::installDialogs();
    return TestSupport::runRegisteredTests(argc, argv);
}
