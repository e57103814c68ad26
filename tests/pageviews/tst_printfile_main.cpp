#include "tests/support/TestMain.h"

LUMARO_TEST_SUITE_MAIN()
