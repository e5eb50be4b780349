// The one definition of the log's storage for this test program; main comes
// from GTest::gtest_main.
#include <easylogging++.h>

INITIALIZE_EASYLOGGINGPP
