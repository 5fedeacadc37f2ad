// Checks the Windows environment the editor relies on: the GBK code page and case-blind message names.
#include <gtest/gtest.h>
#include <windows.h>

TEST(Win32Environment, GbkCodePageAndCaseBlindMessageNames) {
    EXPECT_EQ(GetACP(), 936u);
    const char gbk[] = "\xB1\xEA\xCC\xE2"; // the two-character word for "title"
    wchar_t wide[8] = {};
    ASSERT_EQ(MultiByteToWideChar(936, 0, gbk, -1, wide, 8), 3);
    EXPECT_EQ(wide[0], 0x6807);
    EXPECT_EQ(wide[1], 0x9898);
    UINT first = RegisterWindowMessageA("Font Changed");
    EXPECT_NE(first, 0u);
    EXPECT_EQ(first, RegisterWindowMessageA("Font changed"));
    EXPECT_NE(first, RegisterWindowMessageA("Font Change"));
}
