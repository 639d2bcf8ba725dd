// The test program's entry: all tests, then the application object is destroyed.
#include <gtest/gtest.h>

#include "AppHarness.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    apptest::ShutDown();
    return result;
}
