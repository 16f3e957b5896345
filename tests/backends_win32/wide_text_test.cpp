#include <gtest/gtest.h>

#include "platform/win32/wide_text.h"

namespace somnar::win32 {
namespace {

TEST(WideTextTest, UmlautsAndSignsSurviveTheWayThereAndBack) {
    const std::string text = "Müller € Straße \xF0\x9F\x8C\x99";
    EXPECT_EQ(widen(text), L"M\u00fcller \u20ac Stra\u00dfe \U0001F319");
    EXPECT_EQ(narrow(widen(text)), text);
    EXPECT_EQ(narrow(widen("P\xe4ss")), "P\xEF\xBF\xBDss");
}

}  // namespace
}  // namespace somnar::win32
