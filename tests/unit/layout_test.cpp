// The layout both views follow, without a display.

#include <gtest/gtest.h>

#include <tuple>

#include "layout/captions.h"
#include "layout/control_state.h"
#include "layout/geometry.h"
#include "layout/stacking.h"
#include "layout/timer_run.h"

namespace somnar {
namespace {

TEST(LayoutTest, PlacesScaleWithTheDpiAndAddUpThroughTheirFramesWhereLaidOutFlat) {
    Frame frame;
    frame.setPlace({5400, 300, 2655, 1575});
    Label inside;
    inside.setContainer(&frame);
    inside.setPlace({130, 250, 490, 195});
    Line line;
    line.setEnds({-45, 7380, 8280, 7380});
    line.setBorderWidth(2);
    Line framedLine;
    framedLine.setContainer(&frame);
    framedLine.setEnds({-100, 600, 9000, 600});
    for (const auto& [dpi, field, framed, rule, cut, font] :
         {std::tuple{96, PixelRect{360, 20, 177, 105}, PixelRect{368, 36, 32, 13},
                     PixelRect{-3, 491, 555, 2}, PixelRect{360, 60, 177, 1}, -11},
          std::tuple{144, PixelRect{540, 30, 265, 157}, PixelRect{553, 55, 49, 19},
                     PixelRect{-4, 737, 832, 3}, PixelRect{540, 90, 265, 1}, -17},
          std::tuple{192, PixelRect{720, 40, 354, 210}, PixelRect{737, 73, 65, 26},
                     PixelRect{-6, 982, 1110, 4}, PixelRect{720, 119, 354, 2}, -22}}) {
        EXPECT_EQ(controlRect(frame, dpi, Nesting::Flat), field) << dpi;
        EXPECT_EQ(controlRect(inside, dpi, Nesting::Flat), framed) << dpi;
        EXPECT_EQ(widgetRect(line, dpi, Nesting::Flat), rule) << dpi;
        EXPECT_EQ(widgetRect(framedLine, dpi, Nesting::Flat), cut) << dpi;
        EXPECT_EQ(fontHeight(8.25, dpi), font) << dpi;
        EXPECT_EQ(pixelsToTwips(twipsToPixels(1440, dpi), dpi), 1440) << dpi;
    }
    // Inside the frame's own widget: its own place, and the line within the frame's width.
    EXPECT_EQ(controlRect(inside, 96, Nesting::InFrames), (PixelRect{8, 16, 32, 13}));
    EXPECT_EQ(lineRect(framedLine, 96, Nesting::InFrames), (PixelRect{0, 40, 177, 1}));
    EXPECT_EQ(topTwips(inside), 250);
    EXPECT_EQ(topTwips(framedLine), 600);
    Window window;
    window.setWidth(8400);
    window.setHeight(3510);
    EXPECT_EQ(shownArea(window, 192), (PixelRect{0, 0, 1104, 400}));
    for (const auto& [rect, seen] : {std::pair{PixelRect{1103, 399, 9, 9}, true},
                                     {PixelRect{1104, 0, 9, 9}, false},
                                     {PixelRect{0, 400, 9, 9}, false},
                                     {PixelRect{-9, -9, 9, 9}, false}}) {
        EXPECT_EQ(overlaps(rect, shownArea(window, 192)), seen) << rect.left;
    }
    EXPECT_EQ(autoSizedWidth(inside, 96, 8, 100), 92);   // the room to the right edge
    EXPECT_EQ(autoSizedWidth(inside, 96, 90, 100), 32);  // never below its designed width

    Frame outer;
    frame.setContainer(&outer);
    outer.setEnabled(false);
    frame.setVisible(false);
    EXPECT_FALSE(enabledWithContainers(inside) || shownWithContainers(inside));
    EXPECT_TRUE(shownWithContainers(outer) && !enabledWithContainers(frame));
    EXPECT_TRUE(takesTabStop(ControlKind::CommandButton) && !takesTabStop(ControlKind::Label));
}

TEST(LayoutTest, LabelsLieBeneathInputsFramesBeneathWhatTheyHoldPicturesOnTop) {
    Frame frame, inner;
    Label label;
    Picker picker;
    Line line;
    for (Control* framed : std::initializer_list<Control*>{&label, &picker, &inner}) {
        framed->setContainer(&frame);
    }
    line.setContainer(&inner);
    Shape white;
    PictureBox picture;
    CommandButton button;
    const StackPlan plan =
        stackPlan({&frame, &label, &picker, &inner, &line, &white, &button, &picture});
    EXPECT_EQ(plan.toTop, (std::vector<const Control*>{&picture}));
    EXPECT_EQ(plan.toBottom, (std::vector<const Control*>{&label, &line, &inner, &white, &frame}));
}

TEST(LayoutTest, AOneLineCaptionCutShortShowsItselfAsTheTipUnlessTheLabelHasOne) {
    for (const auto& [caption, ownTip, autoSize, cut, shortens, tip] :
         {std::tuple{"C:\\Programme\\lang\\start.exe", "", false, true, true,
                     "C:\\Programme\\lang\\start.exe"},
          std::tuple{"C:\\Programme\\lang\\start.exe", "Programm", false, true, true, "Programm"},
          std::tuple{"passt", "", false, false, true, ""},
          std::tuple{"zwei\nZeilen", "", false, false, false, ""},
          std::tuple{"wächst mit", "", true, false, false, ""}}) {
        Label label;
        label.setCaption(caption);
        label.setToolTip(ownTip);
        label.setAutoSize(autoSize);
        EXPECT_EQ(shortensCaption(label), shortens) << caption;
        EXPECT_EQ(toolTipShown(label, cut), tip) << caption;
    }
    CheckBox box;
    EXPECT_EQ(toolTipShown(box, true), "");  // only a label's caption stands in
}

TEST(LayoutTest, ATimerStartsAfreshWhenSwitchedOnRestartedOrGivenANewInterval) {
    Timer timer;
    timer.setEnabled(false);
    TimerRun run;
    using Step = TimerRun::Step;
    EXPECT_EQ(run.follow(timer, false), Step::Keep);  // off, no interval
    timer.setInterval(1000);
    timer.setEnabled(true);
    EXPECT_EQ(run.follow(timer, false), Step::Start);
    EXPECT_EQ(run.follow(timer, true), Step::Keep);  // a caption changed elsewhere
    timer.setInterval(500);
    EXPECT_EQ(run.follow(timer, true), Step::Start);
    timer.setEnabled(false);
    timer.setEnabled(true);
    EXPECT_EQ(run.follow(timer, true), Step::Start);   // off and on within one handler
    EXPECT_EQ(run.follow(timer, false), Step::Start);  // the system refused the last start
    timer.setEnabled(false);
    EXPECT_EQ(run.follow(timer, true), Step::Stop);
    timer.setEnabled(true);
    timer.setInterval(0);
    EXPECT_EQ(run.follow(timer, true), Step::Stop);
}

}  // namespace
}  // namespace somnar
