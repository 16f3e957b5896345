#include "app/window.h"

namespace somnar {

void Window::setCaption(std::string caption) {
    caption_ = std::move(caption);
    notify();
}

void Window::move(int left, int top) {
    left_ = left;
    top_ = top;
    notify();
}

void Window::setWidth(int width) {
    width_ = width;
    notify();
}

void Window::setHeight(int height) {
    height_ = height;
    notify();
}

void Window::show() {
    visible_ = true;
    notify();
}

void Window::hide() {
    visible_ = false;
    notify();
}

void Window::minimize() {
    if (commands_ != nullptr) {
        commands_->minimize();
    }
}

void Window::popUp(Control* menu) {
    if (commands_ != nullptr) {
        commands_->popUp(menu);
    }
}

void Window::setLoaded(bool loaded) {
    if (loaded_ == loaded) {
        return;
    }
    loaded_ = loaded;
    notify();
    if (lifecycleObserver_) {
        lifecycleObserver_();
    }
}

void Window::bringToFront() {
    if (commands_ != nullptr) {
        commands_->bringToFront();
    }
}

void Window::setFocus(Control* control) {
    focus_ = control;
    if (commands_ != nullptr) {
        commands_->focus(control);
    }
}

void Window::notify() const {
    if (observer_) {
        observer_();
    }
}

}  // namespace somnar
