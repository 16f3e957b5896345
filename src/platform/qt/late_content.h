#pragma once

#include <QPaintEvent>

namespace somnar {

// A widget whose content needs fonts or much work: a caption to measure, a long list, a
// picker's typing field. Laying out text loads fonts, so until the window has shown the
// content waits for the window to be on screen (WindowView finishes it then, just before the
// first paint, which needs the fonts anyway), for the widget's own first paint, or for the
// window's completion, whichever comes first: the window appears sooner, its first paint is
// the same.
class LateContent {
  public:
    virtual ~LateContent() = default;
    // Applies content still waiting.
    virtual void finishContent() = 0;
};

template <typename Widget>
class LateContentWidget : public Widget, public LateContent {
  public:
    using Widget::Widget;

    void finishContent() final {
        if (pending_) {
            pending_ = false;
            applyContent();
        }
    }

  protected:
    // Applies the content now when the window shows, else later; true when it waits.
    bool contentChanged() {
        pending_ = true;
        if (this->window()->isVisible()) {
            finishContent();
        }
        return pending_;
    }
    virtual void applyContent() = 0;

    void paintEvent(QPaintEvent* event) override {
        finishContent();  // painted as applied; the widget is updated once more
        Widget::paintEvent(event);
    }

  private:
    bool pending_ = false;
};

}  // namespace somnar
