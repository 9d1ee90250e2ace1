#pragma once

#include <QTest>

namespace quillon::test {
// Runs before the application object exists: the offscreen platform unless the caller chose
// one, 96 DPI, and the C locale, so that results do not depend on the machine.
void prepareEnvironment();
} // namespace quillon::test

#define QUILLON_TEST_MAIN(TestObject)                                                              \
    QTEST_MAIN_WRAPPER(TestObject, quillon::test::prepareEnvironment(); QTEST_MAIN_SETUP())
