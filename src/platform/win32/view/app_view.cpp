#include "platform/win32/view/app_view.h"

#include "platform/win32/resource_ids.h"

namespace somnar::win32 {

AppView::AppView(MainWindow& form, InfoWindow& info) : form_(form), infoWindow_(info) {
    main_ = std::make_unique<WindowView>(form.window(), form.registry(),
                                         WindowView::Frame{SOMNAR_ICON_WINDOW, false});
    main_->onCloseRequest = [this] { form_.unload(); };
    main_->onSessionEnding = [this] { form_.storeTypedValues(false); };
    main_->onSessionEnd = [this] { form_.endSession(); };
    form.window().setLifecycleObserver([this] {
        if (!form_.window().loaded() && main_) {
            main_->detach();
            ::ShowWindow(main_->handle(), SW_HIDE);
            endWhenNoWindowIsLeft();
        }
    });
    info.window.setLifecycleObserver([this] { followInfoWindow(); });
}

AppView::~AppView() {
    form_.window().setLifecycleObserver(nullptr);
    infoWindow_.window.setLifecycleObserver(nullptr);
}

void AppView::followInfoWindow() {
    if (infoWindow_.window.loaded() && !info_) {
        info_ = std::make_unique<WindowView>(infoWindow_.window, infoWindow_.registry(),
                                             WindowView::Frame{SOMNAR_ICON_INFO_WINDOW, true});
        info_->onCloseRequest = [this] { infoWindow_.close(); };
    } else if (!infoWindow_.window.loaded() && info_) {
        info_->detach();
        ::ShowWindow(info_->handle(), SW_HIDE);
        closed_ = std::move(info_);  // deleted when the next view closes or the program ends
        endWhenNoWindowIsLeft();
    }
}

void AppView::endWhenNoWindowIsLeft() {
    if (!form_.window().loaded() && !infoWindow_.window.loaded()) {
        ::PostQuitMessage(0);
    }
}

int runMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        HWND active = ::GetActiveWindow();
        if (active != nullptr && ::IsDialogMessageW(active, &message)) {
            continue;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace somnar::win32
