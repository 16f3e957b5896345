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
    ++minimizeRequests_;
    notify();
}

void Window::popUp(Control* menu) {
    popUpMenu_ = menu;
    ++popUpRequests_;
    notify();
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
    ++frontRequests_;
    notify();
}

void Window::setFocus(Control* control) {
    focus_ = control;
    ++focusRequests_;
    notify();
}

void Window::notify() const {
    if (observer_) {
        observer_();
    }
}

}  // namespace somnar
