// Tests of the addresses the shell hands to the desktop's openers.
#include "platform/shell.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

TEST(OpenWithDesktop, GivesTheDataFilesFullAddressEscapedAndWebAddressesAsTheyAre) {
    platform::RecordShellOpens = true;
    platform::DataFolder = "/srv/my games/pelmaro\xc3\xa9/";
    EXPECT_TRUE(platform::OpenWithDesktop("ReadMe.htm"));
    EXPECT_TRUE(platform::OpenWithDesktop("https://example.org/a b"));
    ASSERT_EQ(platform::OpenedTargets.size(), 2u);
    EXPECT_EQ(platform::OpenedTargets[0], "file:///srv/my%20games/pelmaro%C3%A9/ReadMe.htm");
    EXPECT_EQ(platform::OpenedTargets[1], "https://example.org/a b");
}
