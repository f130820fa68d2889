#pragma once

#include <QtGlobal>

#include <gtest/gtest.h>

// Skips a test of a real part that cannot run on this machine (no namespace,
// no ICMP, a tool missing). Where UTQ_REAL_PARTS_REQUIRED is set, as in CI,
// it fails instead, with the reason: a runner that silently loses the
// real-part tests is noticed.
#define SKIP_REAL_PART(reason)                                                                                         \
    do {                                                                                                               \
        if (qEnvironmentVariableIsSet("UTQ_REAL_PARTS_REQUIRED"))                                                      \
            GTEST_FAIL() << reason;                                                                                    \
        GTEST_SKIP() << reason;                                                                                        \
    } while (false)
