// The Qt test programs' entry: the application object, all tests, then the object is destroyed.
#include <gtest/gtest.h>

#include "tests/support/qt/AppHarness.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    apptest::Application();
    const int result = RUN_ALL_TESTS();
    apptest::ShutDown();
    return result;
}
