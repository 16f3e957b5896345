#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <string>

#include "platform/qt/startup_warm_up.h"
#include "scoped_env.h"

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
    std::string said;
    {
        const somnar::test::ScopedEnv missing("FONTCONFIG_FILE", "/nonexistent/fonts.conf");
        ::testing::internal::CaptureStderr();
        { const somnar::StartupWarmUp warmUp; }
        said = ::testing::internal::GetCapturedStderr();
    }

    const std::string error = "Fontconfig error: Cannot load";
    const auto first = said.find(error);
    EXPECT_NE(first, std::string::npos) << said;
    EXPECT_EQ(said.find(error, first + 1), std::string::npos) << said;
    EXPECT_GT(listedFonts(), 0);
}
