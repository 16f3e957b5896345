#pragma once

#include <functional>
#include <string>

namespace somnar {

class Control;

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
    // Asks the window system to minimise the window; counted so the view sees every request.
    void minimize();
    unsigned minimizeRequests() const { return minimizeRequests_; }

    // Opens a pop-up menu at the mouse position; the view returns from it once an entry
    // was chosen (its handler has run) or the menu was dismissed.
    void popUp(Control* menu);
    Control* popUpMenu() const { return popUpMenu_; }
    unsigned popUpRequests() const { return popUpRequests_; }

    // Between load and unload the window exists; the program runs while one exists.
    bool loaded() const { return loaded_; }
    void setLoaded(bool loaded);

    // Asks the window system to bring the window to the front; counted so the view sees
    // every request.
    void bringToFront();
    unsigned frontRequests() const { return frontRequests_; }

    // Moves the keyboard focus; counted like the requests to come to the front.
    Control* focus() const { return focus_; }
    void setFocus(Control* control);
    unsigned focusRequests() const { return focusRequests_; }

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
    unsigned frontRequests_ = 0;
    unsigned focusRequests_ = 0;
    unsigned minimizeRequests_ = 0;
    unsigned popUpRequests_ = 0;
    Control* popUpMenu_ = nullptr;
    Control* focus_ = nullptr;
    std::function<void()> observer_;
    std::function<void()> lifecycleObserver_;
};

}  // namespace somnar
