// The info window's controls.

#include "app/control_design.h"

namespace somnar {
namespace {

WindowDesign makeFrmInfoDesign() {
    WindowDesign d;
    d.caption = "Somnar-Scheduler INFO";
    d.width = 8280 + kFrameWidthTwips;
    d.height = 6195 + kFrameHeightTwips;
    d.controls = {
        {.name = "Shape1", .kind = ControlKind::Shape, .place = {120, 300, 7995, 5235}},
        {.name = "Text1",
         .kind = ControlKind::TextBox,
         .place = {240, 420, 7815, 4935},
         .caption = "Text1",
         .font = Font{"Courier New", 8.25, false},
         .accessibleName = "Info-Text",
         .foreColor = Rgb{0, 0, 192},
         .multiLine = true},
        {.name = "Command1",
         .kind = ControlKind::CommandButton,
         .place = {6600, 5700, 1455, 315},
         .caption = "<<",
         .accessibleName = "Zurück"},
    };
    return d;
}

}  // namespace

const WindowDesign& infoWindowDesign() {
    static const WindowDesign design = makeFrmInfoDesign();
    return design;
}

}  // namespace somnar
