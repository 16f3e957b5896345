#include "platform/win32/view/pumping_call.h"

#include "platform/win32/owned_handle.h"

#include <exception>
#include <optional>
#include <thread>

#include "platform/model_hold.h"
#include "platform/win32/view/handles.h"

namespace somnar::win32 {

bool heldBackDuringCall(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) || message == WM_DROPFILES;
}

void PumpingCall::run(const std::function<void()>& call) {
    const ModelHold hold;
    const OwnedHandle done(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::exception_ptr failure;
    std::thread worker([&] {
        try {
            call();
        } catch (...) {
            failure = std::current_exception();
        }
        ::SetEvent(done.get());
    });
    HANDLE waitFor = done.get();
    std::optional<int> quit;
    while (::MsgWaitForMultipleObjectsEx(1, &waitFor, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE) !=
           WAIT_OBJECT_0) {
        MSG message{};
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = static_cast<int>(message.wParam);
            } else if (!heldBackDuringCall(message.message)) {
                ::TranslateMessage(&message);
                ::DispatchMessageW(&message);
            }
        }
    }
    worker.join();
    if (quit) {
        ::PostQuitMessage(*quit);
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

}  // namespace somnar::win32
