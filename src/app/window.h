#pragma once

#include <functional>
#include <string>

namespace somnar {

class Control;

// What a window asks of the window system, carried out at once by the view that shows it.
class WindowCommands {
  public:
    virtual ~WindowCommands() = default;

    virtual void minimize() = 0;
    virtual void bringToFront() = 0;
    virtual void focus(Control* control) = 0;
    // Opens the pop-up menu at the mouse position; returns once an entry was chosen (its
    // handler has run) or the menu was dismissed.
    virtual void popUp(Control* menu) = 0;
};

// A top-level window of the model: caption, outer place and size in twips, shown or
// hidden, and which control has the keyboard focus.
class Window {
  public:
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption);

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void move(int left, int top);
    void setWidth(int width);
    void setHeight(int height);

    bool visible() const { return visible_; }
    void show();
    void hide();
    // Who carries out the commands below; none while no view shows the window.
    void setCommands(WindowCommands* commands) { commands_ = commands; }
    void minimize();
    void popUp(Control* menu);

    // Between load and unload the window exists; the program runs while one exists.
    bool loaded() const { return loaded_; }
    void setLoaded(bool loaded);

    void bringToFront();

    // Moves the keyboard focus.
    Control* focus() const { return focus_; }
    void setFocus(Control* control);

    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    // Told when the window is loaded or unloaded; whoever creates and ends views listens.
    void setLifecycleObserver(std::function<void()> observer) {
        lifecycleObserver_ = std::move(observer);
    }

  private:
    void notify() const;

    std::string caption_;
    int left_ = 0;
    int top_ = 0;
    int width_ = 0;
    int height_ = 0;
    bool visible_ = false;
    bool loaded_ = false;
    Control* focus_ = nullptr;
    WindowCommands* commands_ = nullptr;
    std::function<void()> observer_;
    std::function<void()> lifecycleObserver_;
};

}  // namespace somnar
