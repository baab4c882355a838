#include "framework/String.h"

#include <gtest/gtest.h>

namespace {

TEST(CString, SubstringsAreClampedByteCounts)
{
    CString s("C:\\Dir\\");
    EXPECT_STREQ("\\", s.Right(1));
    EXPECT_STREQ("C:\\Dir", s.Left(s.GetLength() - 1));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ("C:\\Dir\\", s.Right(100));
    EXPECT_STREQ("", CString().Right(1));
    EXPECT_STREQ("Dir", s.Mid(3, 3));
}

TEST(CString, ValueSemanticsSurviveAliasing)
{
    CString a("abc");
    CString b = a;
    b += "def";
    EXPECT_STREQ("abc", a);
    CString& alias = a;
    a = alias;
    a += alias;
    EXPECT_STREQ("abcabc", a);
    a = (LPCSTR)a + 3;  // a tail of its own buffer
    EXPECT_STREQ("abc", a);
    EXPECT_STREQ("x\\abc", "x" + CString("\\") + a);
}

TEST(CString, BufferAccessTakesTextUpToTheNul)
{
    CString s;
    char* p = s.GetBuffer(10);
    strcpy(p, "hi");
    s.ReleaseBuffer();
    EXPECT_EQ(2, s.GetLength());
    s.GetBuffer(5)[1] = 0;
    s.ReleaseBuffer();
    EXPECT_STREQ("h", s);
}

TEST(CString, MakeUpperUsesTheAnsiCodePage)
{
    CString s("c:\\windows");
    s.MakeUpper();
    EXPECT_STREQ("C:\\WINDOWS", s);
    CString empty;
    empty.MakeUpper();
    EXPECT_TRUE(empty.IsEmpty());
}

}  // namespace
