#include "app/controls.h"

namespace somnar {

std::string controlKey(std::string_view name, int index) {
    std::string key(name);
    if (index >= 0) {
        key += '(';
        key += std::to_string(index);
        key += ')';
    }
    return key;
}

std::string Control::key() const {
    return controlKey(name_, index_);
}

void Control::setIdentity(std::string name, int index) {
    name_ = std::move(name);
    index_ = index;
}

void Control::setEnabled(bool enabled) {
    if (enabled_ != enabled) {
        enabled_ = enabled;
        notify();
    }
}

void Control::setVisible(bool visible) {
    if (visible_ != visible) {
        visible_ = visible;
        notify();
    }
}

void Control::setToolTip(std::string toolTip) {
    if (toolTip_ != toolTip) {
        toolTip_ = std::move(toolTip);
        notify();
    }
}

bool Control::acceptsInput() const {
    if (!enabled_ || !visible_) {
        return false;
    }
    for (const Control* holder = container_; holder != nullptr; holder = holder->container()) {
        if (!holder->enabled()) {
            return false;
        }
    }
    return true;
}

void Control::notify() const {
    if (observer_) {
        observer_();
    }
}

// Sets a text property and tells the view, only when the text really changes.
static bool assign(std::string& property, std::string value) {
    if (property == value) {
        return false;
    }
    property = std::move(value);
    return true;
}

void CommandButton::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void CommandButton::setPicture(Picture picture) {
    picture_ = picture;
    notify();
}

void CommandButton::setValue(bool pressed) {
    if (pressed && onClick) {
        onClick();
    }
}

void CommandButton::userClick() {
    if (acceptsInput()) {
        setValue(true);
    }
}

void CheckBox::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void CheckBox::setButtonLook(bool buttonLook) {
    buttonLook_ = buttonLook;
    notify();
}

void CheckBox::setValue(int value) {
    if (value_ == value) {
        return;
    }
    value_ = value;
    notify();
    if (onClick) {
        onClick();
    }
}

void CheckBox::userClick() {
    if (acceptsInput()) {
        setValue(value_ == Checked ? Unchecked : Checked);
    }
}

void OptionButton::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void OptionButton::setValue(bool selected) {
    if (!selected) {
        clearSilently();
        return;
    }
    if (value_) {
        return;
    }
    for (OptionButton* sibling : siblings_) {
        sibling->clearSilently();
    }
    value_ = true;
    notify();
    if (onClick) {
        onClick();
    }
}

void OptionButton::clearSilently() {
    if (value_) {
        value_ = false;
        notify();
    }
}

void OptionButton::userClick() {
    if (acceptsInput()) {
        setValue(true);
    }
}

void Picker::setText(std::string text) {
    if (assign(text_, std::move(text))) {
        notify();
    }
}

void Picker::userSetText(std::string text) {
    if (acceptsInput()) {
        setText(std::move(text));
    }
}

void Picker::addItem(std::string item) {
    items_.push_back(std::move(item));
    notify();
}

void Picker::clearItems() {
    items_.clear();
    listIndex_ = -1;
    notify();
}

bool Picker::setListIndex(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) {
        return false;
    }
    listIndex_ = index;
    text_ = items_[static_cast<std::size_t>(index)];
    notify();
    return true;
}

void TextBox::setText(std::string text) {
    if (assign(text_, std::move(text))) {
        notify();
    }
}

void TextBox::userSetText(std::string text) {
    if (acceptsInput()) {
        setText(std::move(text));
    }
}

void TextBox::userDropFiles(const std::vector<std::string>& paths) {
    if (acceptsFileDrops_ && acceptsInput() && onFilesDropped) {
        onFilesDropped(paths);
    }
}

void TextBox::userMouseMove() {
    if (onMouseMove) {
        onMouseMove();
    }
}

void TextBox::setPasswordChar(std::string passwordChar) {
    if (assign(passwordChar_, std::move(passwordChar))) {
        notify();
    }
}

void TextBox::setMultiLine(bool multiLine) {
    multiLine_ = multiLine;
    notify();
}

void TextBox::setAcceptsFileDrops(bool accepts) {
    acceptsFileDrops_ = accepts;
    notify();
}

void TextBox::setForeColor(std::optional<Rgb> color) {
    foreColor_ = color;
    notify();
}

void Label::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void Label::setAlignment(Alignment alignment) {
    alignment_ = alignment;
    notify();
}

void Label::setForeColor(std::optional<Rgb> color) {
    foreColor_ = color;
    notify();
}

void Label::setAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    notify();
}

void Frame::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void Frame::setBorderless(bool borderless) {
    borderless_ = borderless;
    notify();
}

void PictureBox::setPicture(Picture picture) {
    picture_ = picture;
    notify();
}

void PictureBox::userClick() {
    if (acceptsInput() && onClick) {
        onClick();
    }
}

void Timer::setInterval(int milliseconds) {
    if (interval_ != milliseconds) {
        interval_ = milliseconds;
        notify();
    }
}

void Timer::setEnabled(bool enabled) {
    if (enabled && !this->enabled()) {
        ++startCount_;
    }
    Control::setEnabled(enabled);
}

void Timer::tick() {
    if (!enabled() || !onTick || ticking_) {
        return;
    }
    ticking_ = true;
    onTick();
    ticking_ = false;
}

void MenuEntry::setCaption(std::string caption) {
    if (assign(caption_, std::move(caption))) {
        notify();
    }
}

void MenuEntry::userClick() {
    if (onClick) {
        onClick();
    }
}

}  // namespace somnar
