#include "app/control_registry.h"

#include <algorithm>

namespace somnar {
namespace {

void applyKindProperties(Control& control, const ControlDesign& row) {
    const std::string caption(row.caption);
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            auto& button = static_cast<CommandButton&>(control);
            button.setCaption(caption);
            button.setPicture(row.picture);
            break;
        }
        case ControlKind::CheckBox: {
            auto& box = static_cast<CheckBox&>(control);
            box.setCaption(caption);
            box.setButtonLook(row.buttonLook);
            box.setValue(row.value);  // no handler is wired yet
            break;
        }
        case ControlKind::OptionButton: {
            auto& option = static_cast<OptionButton&>(control);
            option.setCaption(caption);
            option.setValue(row.value == 1);
            break;
        }
        case ControlKind::Picker:
            static_cast<Picker&>(control).setText(caption);
            break;
        case ControlKind::TextBox: {
            auto& box = static_cast<TextBox&>(control);
            box.setText(caption);
            box.setPasswordChar(std::string(row.passwordChar));
            box.setMultiLine(row.multiLine);
            box.setAcceptsFileDrops(row.acceptsFileDrops);
            box.setForeColor(row.foreColor);
            break;
        }
        case ControlKind::Label: {
            auto& label = static_cast<Label&>(control);
            label.setCaption(caption);
            label.setAlignment(row.alignment);
            label.setForeColor(row.foreColor);
            label.setAutoSize(row.autoSize);
            break;
        }
        case ControlKind::Frame: {
            auto& frame = static_cast<Frame&>(control);
            frame.setCaption(caption);
            frame.setBorderless(row.borderless);
            break;
        }
        case ControlKind::PictureBox:
            static_cast<PictureBox&>(control).setPicture(row.picture);
            break;
        case ControlKind::Timer:
            static_cast<Timer&>(control).setInterval(row.interval);
            break;
        case ControlKind::Line: {
            auto& line = static_cast<Line&>(control);
            line.setEnds(row.ends);
            line.setBorderWidth(row.lineWidth);
            line.setColor(row.lineColor);
            break;
        }
        case ControlKind::MenuEntry:
            static_cast<MenuEntry&>(control).setCaption(caption);
            break;
        case ControlKind::Shape:
            break;
    }
}

// A control for a design row that only shows something: nothing reads or changes it.
std::unique_ptr<Control> designOnlyControl(ControlKind kind) {
    switch (kind) {
        case ControlKind::Label:
            return std::make_unique<Label>();
        case ControlKind::Frame:
            return std::make_unique<Frame>();
        case ControlKind::Line:
            return std::make_unique<Line>();
        case ControlKind::Shape:
            return std::make_unique<Shape>();
        default:
            return nullptr;
    }
}

}  // namespace

void ControlRegistry::add(Control& control, std::string_view name, int index) {
    control.setIdentity(std::string(name), index);
    added_.push_back(&control);
    byKey_.emplace(control.key(), &control);
}

Control* ControlRegistry::find(std::string_view key) const {
    const auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : found->second;
}

void ControlRegistry::applyDesign() {
    for (const ControlDesign& row : design_.controls) {
        Control* control = find(controlKey(row.name, row.index));
        if (control == nullptr) {
            if (auto owned = designOnlyControl(row.kind)) {
                control = owned.get();
                add(*owned, row.name, row.index);
                designOnly_.push_back(std::move(owned));
            }
        }
        if (control == nullptr || control->kind() != row.kind) {
            continue;  // reported by mismatches()
        }
        control->setContainer(row.container.empty() ? nullptr : find(row.container));
        control->setPlace(row.place);
        control->setFont(row.font);
        control->setToolTip(std::string(row.toolTip));
        control->setEnabled(row.enabled);
        control->setVisible(row.visible);
        // A label is designed before the control it stands for, so it is registered.
        control->setScreenReaderName(std::string(row.accessibleName),
                                     row.label.empty() ? nullptr : find(row.label));
        applyKindProperties(*control, row);
        ordered_.push_back(control);
    }
    // Options in one container exclude each other.
    for (Control* control : ordered_) {
        if (control->kind() != ControlKind::OptionButton) {
            continue;
        }
        std::vector<OptionButton*> siblings;
        for (Control* other : ordered_) {
            if (other != control && other->kind() == ControlKind::OptionButton &&
                other->container() == control->container()) {
                siblings.push_back(static_cast<OptionButton*>(other));
            }
        }
        static_cast<OptionButton*>(control)->setSiblings(std::move(siblings));
    }
}

std::vector<std::string> ControlRegistry::mismatches() const {
    std::vector<std::string> problems;
    for (const ControlDesign& row : design_.controls) {
        const std::string key = controlKey(row.name, row.index);
        const Control* control = find(key);
        if (control == nullptr) {
            problems.push_back("no control for design row " + key);
        } else if (control->kind() != row.kind) {
            problems.push_back("kind differs for " + key);
        }
        if (!row.container.empty() && find(row.container) == nullptr) {
            problems.push_back("unknown container " + std::string(row.container) + " of " + key);
        }
    }
    for (const Control* control : added_) {
        const bool designed = std::any_of(
            design_.controls.begin(), design_.controls.end(), [control](const ControlDesign& row) {
                return controlKey(row.name, row.index) == control->key();
            });
        if (!designed) {
            problems.push_back("no design row for control " + control->key());
        }
    }
    return problems;
}

}  // namespace somnar
