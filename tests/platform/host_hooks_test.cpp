// The library finds a hook that the running program defines, and nothing
// under a name nobody defines.
#include "platform/host_hooks.h"

#include <gtest/gtest.h>

#include "support/portable.h"

TESSEL_TEST_HOST_HOOK int tessel_test_host_hook(int value) {
    return value * 2;
}

namespace {

TEST(HostHooks, FindsAFunctionTheProgramDefinesAndNothingElse) {
    using Hook = int(int);
    Hook* hook = tessel::platform::hostFunction<Hook>("tessel_test_host_hook");
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook(21), 42);
    EXPECT_EQ(tessel::platform::findHostFunction("tessel_no_such_host_hook"), nullptr);
}

}  // namespace
