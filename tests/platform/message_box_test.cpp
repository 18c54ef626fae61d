// Message boxes reach the newest capture, else the presenter the host program
// defines; the fallback to standard error is seen in the tool's tests, whose
// program defines no presenter.
#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/portable.h"

namespace {

std::vector<std::string>& presented() {
    static std::vector<std::string> texts;
    return texts;
}

}  // namespace

// The presenter a host program defines under the agreed name.
TESSEL_TEST_HOST_HOOK void tessel_host_message_box(const char* text) {
    presented().emplace_back(text);
}

namespace tessel::platform {
namespace {

TEST(MessageBox, HostPresenterShowsTheTextWhenNothingCaptures) {
    presented().clear();
    showMessageBox("Error when creating Ventura parser: x\n");
    ASSERT_EQ(presented().size(), 1u);
    EXPECT_EQ(presented()[0], "Error when creating Ventura parser: x\n");
}

TEST(MessageBox, NewestCaptureCollectsAndTheHostSeesNothing) {
    presented().clear();
    MessageBoxCapture outer;
    showMessageBox("one");
    {
        MessageBoxCapture inner;
        showMessageBox(std::string_view("two\0three", 9));
        EXPECT_EQ(inner.texts(), std::vector<std::string>{std::string("two\0three", 9)});
    }
    showMessageBox("four");
    EXPECT_EQ(outer.texts(), (std::vector<std::string>{"one", "four"}));
    EXPECT_TRUE(presented().empty());
}

}  // namespace
}  // namespace tessel::platform
