#pragma once

// The control kinds of the window model: plain objects holding the properties the
// handlers read and write, with the event rules of each kind. The view binds real
// widgets to them; the logic never sees a widget.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace somnar {

enum class ControlKind {
    CommandButton,
    CheckBox,
    OptionButton,
    Picker,
    TextBox,
    Label,
    Frame,
    PictureBox,
    Timer,
    Line,
    MenuEntry,
    Shape,
};

// Place in twips, relative to the container (the window or a frame).
struct Place {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const Place&, const Place&) = default;
};

struct LineEnds {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;

    friend bool operator==(const LineEnds&, const LineEnds&) = default;
};

struct Font {
    std::string family;
    double sizePt = 8.25;
    bool bold = false;

    friend bool operator==(const Font&, const Font&) = default;
};

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Rgb&, const Rgb&) = default;
};

enum class Alignment { Left, Right, Center };
enum class Picture { None, HibernationSymbol, StandbySymbol, OpenIcon, InfoIcon };
enum class LineColor { WindowText, ActiveTitle };

// "cmdRS_aus(0)" for an element of a control array (index 0 and up), the plain name otherwise.
std::string controlKey(std::string_view name, int index);

class Control {
  public:
    explicit Control(ControlKind kind) : kind_(kind) {}
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return kind_; }
    const std::string& name() const { return name_; }
    // Index within a control array; -1 for a control that is not part of one.
    int index() const { return index_; }
    std::string key() const;  // controlKey(name, index)

    Control* container() const { return container_; }
    const Place& place() const { return place_; }
    const std::optional<Font>& font() const { return font_; }

    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool enabled);
    bool visible() const { return visible_; }
    void setVisible(bool visible);
    const std::string& toolTip() const { return toolTip_; }
    void setToolTip(std::string toolTip);
    // What a screen reader calls the control where its caption does not say it (a picker
    // beside its label, a picture button, a caption used twice); empty: the caption.
    const std::string& accessibleName() const { return accessibleName_; }
    // The label that stands for a picker: screen readers may name the picker by it, so
    // it carries the accessible name too.
    Control* label() const { return label_; }

    // Whether user input reaches the control: it and every frame holding it are
    // enabled, and it is visible.
    bool acceptsInput() const;

    // The view's hook: called after any property changed.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }

    // Set once when the window model is built from its design.
    void setIdentity(std::string name, int index);
    void setContainer(Control* container) { container_ = container; }
    void setPlace(const Place& place) { place_ = place; }
    void setFont(std::optional<Font> font) { font_ = std::move(font); }
    void setScreenReaderName(std::string name, Control* label) {
        accessibleName_ = std::move(name);
        label_ = label;
    }

  protected:
    void notify() const;

  private:
    ControlKind kind_;
    std::string name_;
    int index_ = -1;
    Control* container_ = nullptr;
    Place place_;
    std::optional<Font> font_;
    bool enabled_ = true;
    bool visible_ = true;
    std::string toolTip_;
    std::string accessibleName_;
    Control* label_ = nullptr;
    std::function<void()> observer_;
};

class CommandButton : public Control {
  public:
    CommandButton() : Control(ControlKind::CommandButton) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // A graphical button shows a picture instead of its caption.
    Picture picture() const { return picture_; }
    void setPicture(Picture picture);

    // Pressing from code: True runs the click handler at once, before the next statement.
    void setValue(bool pressed);
    // A click by the user; ignored while the button takes no input.
    void userClick();

    std::function<void()> onClick;

  private:
    std::string caption_;
    Picture picture_ = Picture::None;
};

class CheckBox : public Control {
  public:
    // The values of a check box; a greyed box is neither ticked nor clear.
    enum Value : int { Unchecked = 0, Checked = 1, Grayed = 2 };

    CheckBox() : Control(ControlKind::CheckBox) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // Drawn as a toggle button instead of a box.
    bool buttonLook() const { return buttonLook_; }
    void setButtonLook(bool buttonLook);

    int value() const { return value_; }
    // Only 1 counts as ticked; the greyed value 2 does not.
    bool ticked() const { return value_ == Checked; }
    // Runs the click handler whenever the value changes, from code or by the user.
    void setValue(int value);
    void userClick();

    std::function<void()> onClick;

  private:
    std::string caption_;
    bool buttonLook_ = false;
    int value_ = Unchecked;
};

class OptionButton : public Control {
  public:
    OptionButton() : Control(ControlKind::OptionButton) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    bool value() const { return value_; }
    // True selects this option, clears its siblings silently and runs the click handler
    // when the option becomes selected; False clears it without an event.
    void setValue(bool selected);
    void userClick();

    // The other options in the same container.
    void setSiblings(std::vector<OptionButton*> siblings) { siblings_ = std::move(siblings); }

    std::function<void()> onClick;

  private:
    void clearSilently();

    std::string caption_;
    bool value_ = false;
    std::vector<OptionButton*> siblings_;
};

// An editable drop-down list: the user may pick an item or type any text.
class Picker : public Control {
  public:
    Picker() : Control(ControlKind::Picker) {}

    const std::string& text() const { return text_; }
    // Setting the text from code runs no handler.
    void setText(std::string text);
    void userSetText(std::string text);

    const std::vector<std::string>& items() const { return items_; }
    void addItem(std::string item);
    void clearItems();

    int listIndex() const { return listIndex_; }
    // Selects an item and shows its text; false (nothing changes) for an index
    // outside the list.
    bool setListIndex(int index);

  private:
    std::string text_;
    std::vector<std::string> items_;
    int listIndex_ = -1;
};

class TextBox : public Control {
  public:
    TextBox() : Control(ControlKind::TextBox) {}

    const std::string& text() const { return text_; }
    void setText(std::string text);
    void userSetText(std::string text);

    // "*" masks the text; empty shows it plainly.
    const std::string& passwordChar() const { return passwordChar_; }
    void setPasswordChar(std::string passwordChar);

    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool multiLine);
    bool acceptsFileDrops() const { return acceptsFileDrops_; }
    void setAcceptsFileDrops(bool accepts);
    const std::optional<Rgb>& foreColor() const { return foreColor_; }
    void setForeColor(std::optional<Rgb> color);

    // Files dropped onto the box by the user, full paths in the order given; only a box
    // that accepts drops and takes input receives them.
    void userDropFiles(const std::vector<std::string>& paths);
    // The mouse moving over the box.
    void userMouseMove();

    std::function<void(const std::vector<std::string>&)> onFilesDropped;
    std::function<void()> onMouseMove;

  private:
    std::string text_;
    std::string passwordChar_;
    bool multiLine_ = false;
    bool acceptsFileDrops_ = false;
    std::optional<Rgb> foreColor_;
};

class Label : public Control {
  public:
    Label() : Control(ControlKind::Label) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    Alignment alignment() const { return alignment_; }
    void setAlignment(Alignment alignment);
    const std::optional<Rgb>& foreColor() const { return foreColor_; }
    void setForeColor(std::optional<Rgb> color);
    // Grows to show its whole caption instead of cutting it at its design width.
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool autoSize);

  private:
    std::string caption_;
    Alignment alignment_ = Alignment::Left;
    bool autoSize_ = false;
    std::optional<Rgb> foreColor_;
};

class Frame : public Control {
  public:
    Frame() : Control(ControlKind::Frame) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    // A borderless frame shows neither border nor caption.
    bool borderless() const { return borderless_; }
    void setBorderless(bool borderless);

  private:
    std::string caption_;
    bool borderless_ = false;
};

class PictureBox : public Control {
  public:
    PictureBox() : Control(ControlKind::PictureBox) {}

    Picture picture() const { return picture_; }
    void setPicture(Picture picture);
    void userClick();

    std::function<void()> onClick;

  private:
    Picture picture_ = Picture::None;
};

// An interval timer on the window's thread. Invisible.
class Timer : public Control {
  public:
    Timer() : Control(ControlKind::Timer) {}

    int interval() const { return interval_; }
    void setInterval(int milliseconds);
    // Switching a timer on starts its count afresh; each switch-on gets a new number.
    void setEnabled(bool enabled) override;
    unsigned startCount() const { return startCount_; }
    // One elapsed interval, delivered by the view's timer service or by a test;
    // nothing happens while the timer is off, nor while its previous tick still runs
    // (waiting in a message box).
    void tick();

    std::function<void()> onTick;

  private:
    int interval_ = 0;
    unsigned startCount_ = 0;
    bool ticking_ = false;
};

class Line : public Control {
  public:
    Line() : Control(ControlKind::Line) {}

    const LineEnds& ends() const { return ends_; }
    void setEnds(const LineEnds& ends) { ends_ = ends; }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int width) { borderWidth_ = width; }
    LineColor color() const { return color_; }
    void setColor(LineColor color) { color_ = color; }

  private:
    LineEnds ends_;
    int borderWidth_ = 1;
    LineColor color_ = LineColor::WindowText;
};

// A white filled rectangle behind other controls.
class Shape : public Control {
  public:
    Shape() : Control(ControlKind::Shape) {}
};

class MenuEntry : public Control {
  public:
    MenuEntry() : Control(ControlKind::MenuEntry) {}

    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);
    void userClick();

    std::function<void()> onClick;

  private:
    std::string caption_;
};

// The five pickers of a date and a minute of the day.
struct MomentPickers {
    Picker day;
    Picker month;
    Picker year;
    Picker hour;
    Picker minute;
};

}  // namespace somnar
