#include "app/SetupDlg.h"

#include <gtest/gtest.h>

namespace {

struct ProposalCase
{
    const char* pszWindowsDir;
    const char* pszExpected;
};

void PrintTo(const ProposalCase& c, std::ostream* os)
{
    *os << '"' << c.pszWindowsDir << '"';
}


class DefaultProposal : public ::testing::TestWithParam<ProposalCase> {};

TEST_P(DefaultProposal, FollowsTheWindowsDrive)
{
    EXPECT_STREQ(GetParam().pszExpected, CSetupDlg::MakeDefaultInstallDir(GetParam().pszWindowsDir));
}

INSTANTIATE_TEST_SUITE_P(WindowsDirs, DefaultProposal, ::testing::Values(
    ProposalCase{ "C:\\WINDOWS", "C:\\Program Files\\Tessaly" },
    ProposalCase{ "c:\\windows", "C:\\Program Files\\Tessaly" },
    ProposalCase{ "d:\\WinNT", "D:\\Program Files\\Tessaly" },
    ProposalCase{ "z:", "Z:\\Program Files\\Tessaly" },
    ProposalCase{ "\\\\server\\share\\windows", "\\Tessaly" },
    ProposalCase{ "", "\\Tessaly" },
    ProposalCase{ "C", "\\Tessaly" },
    ProposalCase{ "1:\\windows", "\\Tessaly" },
    ProposalCase{ "C\\windows", "\\Tessaly" }));

}  // namespace
