#include <gtest/gtest.h>

#include "framework/StringArray.h"

#include <string>

namespace {

TEST(CStringArray, AddAppendsInOrderAcrossManyGrowths)
{
    for (int nGrowBy : { 10, 1, 0 }) {
        SCOPED_TRACE(nGrowBy);
        CStringArray arr;
        arr.SetSize(0, nGrowBy);
        for (int i = 0; i < 300; i++)
            ASSERT_EQ(i, arr.Add(std::to_string(i).c_str()));
        ASSERT_EQ(300, arr.GetSize());
        for (int i = 0; i < 300; i++)
            EXPECT_STREQ(std::to_string(i).c_str(), (LPCSTR)arr[i]);
    }
}

TEST(CStringArray, AddingAnElementOfItselfSurvivesTheGrowth)
{
    CStringArray arr;
    arr.SetSize(0, 1);
    arr.Add("TSY.exe");
    arr.Add(arr[0]);
    arr.Add(arr.GetAt(1));
    ASSERT_EQ(3, arr.GetSize());
    EXPECT_STREQ("TSY.exe", (LPCSTR)arr[2]);
}

TEST(CStringArray, SetSizeDropsAndEmptiesElements)
{
    CStringArray arr;
    arr.Add("a");
    arr.Add("b");
    arr.Add("c");
    arr.SetSize(1);
    EXPECT_EQ(1, arr.GetSize());
    arr.SetSize(3);
    EXPECT_STREQ("a", (LPCSTR)arr[0]);
    EXPECT_TRUE(arr[1].IsEmpty());
    EXPECT_TRUE(arr[2].IsEmpty());
    // Building the table afresh, as each installation run does, starts from nothing.
    arr.SetSize(0, 10);
    EXPECT_EQ(0, arr.GetSize());
    EXPECT_EQ(0, arr.Add("TSY.exe"));
}

} // namespace
