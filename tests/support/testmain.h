#pragma once

#include <QTest>

namespace quillon::test {
// Runs before the application object exists: the offscreen platform unless the caller chose
// one, 96 DPI, the C locale and a configuration folder of its own, so that results do not depend
// on the machine and the user's settings are never read or written.
void prepareEnvironment();
} // namespace quillon::test

#define QUILLON_TEST_MAIN(TestObject)                                                              \
    QTEST_MAIN_WRAPPER(TestObject, quillon::test::prepareEnvironment(); QTEST_MAIN_SETUP())
