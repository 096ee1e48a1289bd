#pragma once
// Waiting in a GoogleTest test for what the event loop makes true. Qt's QTRY_ macros report a
// failure to QTest's own log, which a GoogleTest test never reads, so they cannot fail one.

#include <QTest>

#include <gtest/gtest.h>

#include "tests/support/WaitFor.h"

constexpr int kSoonMs = 5000;

#define EXPECT_SOON_WITHIN(condition, ms)                                                          \
    EXPECT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(condition); }, ms))                 \
        << "still false after " << (ms) << " ms: " #condition

#define EXPECT_SOON(condition) EXPECT_SOON_WITHIN(condition, kSoonMs)
