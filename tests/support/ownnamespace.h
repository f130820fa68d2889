#pragma once

#include "support/realpart.h"

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

// Runs the tests of one suite of this test program again inside namespaces of
// their own (unshare with flags, such as "-rn" or "-rm"), after a shell
// set-up; inside, marker is set in the environment. Fails unless every test
// inside passed.
inline void rerunInOwnNamespace(const char* flags, const QString& setup, const char* suite, const char* marker)
{
    if (qEnvironmentVariableIsSet(marker))
        GTEST_SKIP() << "already inside";
    QProcess inner;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QLatin1String(marker), QStringLiteral("1"));
    inner.setProcessEnvironment(environment);
    inner.setProcessChannelMode(QProcess::MergedChannels);
    inner.start(QStringLiteral("unshare"),
                {QLatin1String(flags), "sh", "-c", setup + QStringLiteral(" && exec \"$0\" --gtest_filter=\"$1.*\""),
                 QFile::symLinkTarget(QStringLiteral("/proc/self/exe")), QLatin1String(suite)});
    ASSERT_TRUE(inner.waitForFinished(60000));
    const QByteArray output = inner.readAll();
    if (output.contains("Operation not permitted") || output.contains("unshare failed"))
        SKIP_REAL_PART("cannot make the namespace here: " << output.constData());
    EXPECT_EQ(inner.exitCode(), 0) << output.constData();
    EXPECT_TRUE(output.contains("[  PASSED  ]")) << output.constData();
    EXPECT_FALSE(output.contains("SKIPPED") || output.contains("[  FAILED  ]")) << output.constData();
}

// The fixture of the tests that run only inside those namespaces, where
// Marker is set; elsewhere they skip (and the test lists leave them out).
template <const char* Marker, class Base = ::testing::Test> class OnlyInOwnNamespace : public Base {
protected:
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet(Marker))
            GTEST_SKIP() << "runs inside namespaces of its own only";
        Base::SetUp();
    }
};

// Declares the fixture Suite, on Base, whose tests run only inside
// namespaces of their own, and the test InOwnNamespaces.Suite that runs them
// there: unshare flags, after the shell set-up setup (a QString expression,
// evaluated when that test runs).
#define TESTS_IN_OWN_NAMESPACE(Suite, Base, flags, setup)                                                              \
    constexpr char k##Suite##Marker[] = "UTQ_INSIDE_" #Suite;                                                          \
    using Suite = OnlyInOwnNamespace<k##Suite##Marker, Base>;                                                          \
    TEST(InOwnNamespaces, Suite) { rerunInOwnNamespace(flags, setup, #Suite, k##Suite##Marker); }
