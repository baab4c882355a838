// The driver's own readings, checked against message boxes whose contents are known.
#include "tests/driver/UiDriver.h"
#include "tests/scenarios/ScenarioSupport.h"

#include <gtest/gtest.h>

namespace
{
struct BoxCase
{
    const char* pszArgs;
    CUiDriver::BoxIcon icon;
};

class BoxIconTest : public testing::TestWithParam<BoxCase>
{
};

TEST_P(BoxIconTest, ReadsTextButtonsAndIconOfABoxThatIsUp)
{
    CUiDriver driver;
    ASSERT_TRUE(driver.Start(BesideTestExe("tsyboxprobe.exe"), GetParam().pszArgs));
    HWND hBox = driver.WaitForMessageBox();
    ASSERT_TRUE(hBox != NULL);

    EXPECT_EQ("probe", CUiDriver::GetText(hBox));
    EXPECT_EQ("Probe line 1\r\nProbe line 2", CUiDriver::GetItemText(hBox, 0xFFFF));
    EXPECT_STREQ(CUiDriver::GetIconName(GetParam().icon), CUiDriver::GetIconName(CUiDriver::GetBoxIcon(hBox)));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hBox, IDYES));
    EXPECT_TRUE(CUiDriver::IsItemVisible(hBox, IDNO));
    // The owner stays hidden, and the dialog search does not take a box for the dialog.
    EXPECT_TRUE(driver.FindDialog() == NULL || !IsWindowVisible(driver.FindDialog()));

    ASSERT_TRUE(CUiDriver::ClickButton(hBox, IDNO));
    DWORD dwExitCode = 0;
    ASSERT_TRUE(driver.WaitForExit(&dwExitCode));
    EXPECT_EQ(static_cast<DWORD>(IDNO), dwExitCode);
}

INSTANTIATE_TEST_SUITE_P(Icons, BoxIconTest, testing::Values(
    BoxCase{ "exclamation yesno", CUiDriver::IconExclamation },
    BoxCase{ "stop yesno", CUiDriver::IconStop },
    BoxCase{ "question yesno", CUiDriver::IconQuestion },
    BoxCase{ "information yesno", CUiDriver::IconInformation },
    BoxCase{ "none yesno", CUiDriver::IconNone }),
    [](const testing::TestParamInfo<BoxCase>& info) {
        return std::string(CUiDriver::GetIconName(info.param.icon));
    });

// Enter and Esc reach the box the way a keyboard does, through its modal loop.
TEST(BoxKeys, EnterTakesTheDefaultButtonAndEscCancels)
{
    static const struct { const char* pszArgs; UINT nKey; DWORD dwExpected; } s_cases[] = {
        { "none yesno", VK_RETURN, IDYES },
        { "none", VK_RETURN, IDOK },
        // Windows returns IDOK here; Wine's box answers Esc with IDCANCEL.
        { "none", VK_ESCAPE, IDCANCEL },
    };
    for (const auto& test : s_cases) {
        SCOPED_TRACE(test.pszArgs);
        CUiDriver driver;
        ASSERT_TRUE(driver.Start(BesideTestExe("tsyboxprobe.exe"), test.pszArgs));
        HWND hBox = driver.WaitForMessageBox();
        ASSERT_TRUE(hBox != NULL);
        ASSERT_TRUE(CUiDriver::PressKey(hBox, test.nKey));
        DWORD dwExitCode = 0;
        ASSERT_TRUE(driver.WaitForExit(&dwExitCode));
        EXPECT_EQ(test.dwExpected, dwExitCode);
    }
}
}
