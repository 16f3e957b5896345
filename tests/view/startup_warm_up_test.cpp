#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/qt/startup_warm_up.h"

namespace {

int listedFonts() {
    FcPattern* everything = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FILE, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, everything, fields);
    const int count = fonts != nullptr ? fonts->nfont : 0;
    FcFontSetDestroy(fonts);
    FcObjectSetDestroy(fields);
    FcPatternDestroy(everything);
    return count;
}

}  // namespace

// The warm-up reads the font configuration its own quicker way; a configuration file that
// is missing is still reported once, and fontconfig's fallback fonts are used.
TEST(StartupWarmUp, AMissingFontConfigurationIsReportedOnceAndFontsRemain) {
    ::setenv("FONTCONFIG_FILE", "/nonexistent/fonts.conf", 1);
    ::testing::internal::CaptureStderr();
    { const somnar::StartupWarmUp warmUp; }
    const std::string said = ::testing::internal::GetCapturedStderr();
    ::unsetenv("FONTCONFIG_FILE");

    const std::string error = "Fontconfig error: Cannot load";
    const auto first = said.find(error);
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(error, first + 1), std::string::npos) << said;
    EXPECT_GT(listedFonts(), 0);
}
