#include "platform/win32/ras_dialer.h"

#include "platform/win32/wide_text.h"
#include "platform/win32/windows_api.h"

#include <ras.h>
#include <raserror.h>

#include <algorithm>
#include <condition_variable>
#include <cwchar>
#include <list>
#include <mutex>
#include <string_view>

namespace somnar::win32 {
namespace {

// How one dial goes on after dial() has returned; the service reports to it from its own
// thread.
struct DialProgress {
    std::mutex mutex;
    std::condition_variable changed;
    bool over = false;
    DWORD error = ERROR_SUCCESS;
};

// The service may report until the dial is over, also after dial() returned: each record
// lives as long as the program (one per dial, so a handful at most).
DialProgress& newProgress() {
    static std::mutex mutex;
    static std::list<DialProgress> records;
    const std::lock_guard lock(mutex);
    return records.emplace_back();
}

DWORD WINAPI onDialState(ULONG_PTR progressId, DWORD, HRASCONN connection, UINT, RASCONNSTATE state,
                         DWORD error, DWORD) {
    auto& progress = *reinterpret_cast<DialProgress*>(progressId);
    if (error != ERROR_SUCCESS) {
        // The service keeps what a failed dial holds until it is hung up.
        ::RasHangUpW(connection);
    }
    const bool over =
        error != ERROR_SUCCESS || state == RASCS_Connected || state == RASCS_Disconnected;
    if (over) {
        const std::lock_guard lock(progress.mutex);
        progress.over = true;
        progress.error = error;
        progress.changed.notify_all();
    }
    return over ? 0 : 1;  // 0: no further reports
}

bool unusable(const std::string& text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos;
}

// Copies text into a fixed field of the parameter block; false when it does not fit.
template <std::size_t N>
bool copyInto(wchar_t (&field)[N], const std::wstring& text) {
    if (text.size() >= N) {
        return false;
    }
    std::copy(text.begin(), text.end(), field);
    field[text.size()] = L'\0';
    return true;
}

DialResult failed(const std::string& name, DWORD error) {
    return {DialError::Failed, name, rasErrorText(error)};
}

}  // namespace

std::string rasErrorText(unsigned long error) {
    wchar_t words[512] = {};
    std::string number = "(" + std::to_string(error) + ")";
    if (::RasGetErrorStringW(static_cast<UINT>(error), words, 512) != ERROR_SUCCESS ||
        words[0] == L'\0') {
        return number;
    }
    return narrow(words) + " " + number;
}

RasDialer::RasDialer(std::chrono::milliseconds failureWait) : failureWait_(failureWait) {}

std::vector<std::string> RasDialer::listEntries() {
    std::vector<RASENTRYNAMEW> entries(1);
    DWORD bytes = sizeof(RASENTRYNAMEW);
    DWORD count = 0;
    DWORD result = ERROR_BUFFER_TOO_SMALL;
    // The phone book may grow between two calls: ask again with the size it says.
    for (int attempt = 0; attempt < 4 && result == ERROR_BUFFER_TOO_SMALL; ++attempt) {
        const RASENTRYNAMEW blank{};
        entries.assign(std::max<std::size_t>(1, bytes / sizeof(RASENTRYNAMEW)), blank);
        for (RASENTRYNAMEW& entry : entries) {
            entry.dwSize = sizeof(RASENTRYNAMEW);
        }
        bytes = static_cast<DWORD>(entries.size() * sizeof(RASENTRYNAMEW));
        result = ::RasEnumEntriesW(nullptr, nullptr, entries.data(), &bytes, &count);
    }
    std::vector<std::string> names;
    if (result != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0; i < count && i < entries.size(); ++i) {
        names.push_back(narrow(entries[i].szEntryName));
    }
    return names;
}

DialResult RasDialer::dial(const std::string& name, const std::string& user,
                           const std::string& password) {
    if (name.empty()) {
        return {DialError::NothingSelected, {}, {}};
    }
    if (unusable(user) || unusable(password)) {
        return {DialError::UnusableCredentials, {}, {}};
    }
    const std::vector<std::string> known = listEntries();
    if (std::find(known.begin(), known.end(), name) == known.end()) {
        return {DialError::UnknownName, name, {}};
    }
    DialProgress& progress = newProgress();
    RASDIALPARAMSW params{};
    params.dwSize = sizeof params;
    params.dwCallbackId = reinterpret_cast<ULONG_PTR>(&progress);
    const bool fits = copyInto(params.szEntryName, widen(name)) &&
                      copyInto(params.szUserName, widen(user)) &&
                      copyInto(params.szPassword, widen(password));
    HRASCONN connection = nullptr;
    DWORD started = ERROR_SUCCESS;
    if (fits) {
        // Notifier type 2: RasDialFunc2, which hands back dwCallbackId.
        started = ::RasDialW(nullptr, nullptr, &params, 2, reinterpret_cast<void*>(&onDialState),
                             &connection);
    }
    ::SecureZeroMemory(&params, sizeof params);
    if (!fits) {
        return {DialError::CredentialsNotHandedOver, name, {}};
    }
    if (started != ERROR_SUCCESS) {
        if (connection != nullptr) {
            ::RasHangUpW(connection);
        }
        return failed(name, started);
    }
    std::unique_lock lock(progress.mutex);
    progress.changed.wait_for(lock, failureWait_, [&] { return progress.over; });
    if (progress.over && progress.error != ERROR_SUCCESS) {
        return failed(name, progress.error);
    }
    return {};
}

}  // namespace somnar::win32
