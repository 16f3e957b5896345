// The parts of the window that follow from tables: places by dpi, the tray's mouse
// messages, message box styles and answers, the file dialog's list and chosen path.

#include <gtest/gtest.h>

#include <tuple>

#include "platform/win32/resource_ids.h"
#include "platform/win32/view/pumping_call.h"
#include "platform/win32/view/win32_dialogs.h"
#include "platform/win32/view/win32_file_dialog.h"
#include "platform/win32/view/win32_tray_icon.h"
#include "platform/win32/wide_text.h"

namespace somnar::win32 {
namespace {

// Each icon of the program holds an image of each size Windows asks for at 100, 125, 150
// and 200 %, so none is scaled (and blurred) from another; Windows picks among them.
TEST(WindowPartsTest, EveryIconHasAnImageForEachDpiStep) {
    HMODULE program = ::LoadLibraryExW(widen(SOMNAR_PROGRAM_EXE).c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(program, nullptr);
    const auto resource = [program](int id, const wchar_t* type) {
        HRSRC found = ::FindResourceW(program, MAKEINTRESOURCEW(id), type);
        return found ? static_cast<BYTE*>(::LockResource(::LoadResource(program, found))) : nullptr;
    };
    for (int icon = SOMNAR_ICON_WINDOW; icon <= SOMNAR_ICON_INFO; ++icon) {
        BYTE* group = resource(icon, RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << icon;
        for (int size : {16, 20, 24, 32}) {
            const int image = ::LookupIconIdFromDirectoryEx(group, TRUE, size, size, 0);
            const auto* header = reinterpret_cast<BITMAPINFOHEADER*>(resource(image, RT_ICON));
            EXPECT_EQ(header ? header->biWidth : 0, size) << "icon " << icon;
        }
    }
    ::FreeLibrary(program);
}

TEST(WindowPartsTest, TrayMouseMessagesBecomeClicksAndInputWaitsOutACall) {
    for (const auto& [message, click] :
         {std::pair<UINT, std::optional<TrayClick>>{WM_LBUTTONDOWN, TrayClick::LeftDown},
          {WM_LBUTTONUP, TrayClick::LeftUp},
          {WM_LBUTTONDBLCLK, TrayClick::LeftDouble},
          {WM_RBUTTONDOWN, TrayClick::RightDown},
          {WM_RBUTTONUP, TrayClick::RightUp},
          {WM_MBUTTONDOWN, TrayClick::MiddleDown},
          {WM_MBUTTONUP, TrayClick::MiddleUp},
          {WM_MOUSEMOVE, std::nullopt},
          {WM_RBUTTONDBLCLK, std::nullopt}}) {
        EXPECT_EQ(trayClickFor(message), click) << message;
    }
    for (const auto& [message, held] : {std::pair<UINT, bool>{WM_KEYDOWN, true},
                                        {WM_CHAR, true},
                                        {WM_LBUTTONDOWN, true},
                                        {WM_MOUSEWHEEL, true},
                                        {WM_NCLBUTTONDOWN, true},
                                        {WM_DROPFILES, true},
                                        {WM_PAINT, false},
                                        {WM_TIMER, false},
                                        {WM_SETTEXT, false}}) {
        EXPECT_EQ(heldBackDuringCall(message), held) << message;
    }
}

TEST(WindowPartsTest, MessageBoxesHaveTheirButtonsAndIconAndTellTheAnswer) {
    using B = MessageButtons;
    using I = MessageIcon;
    using A = MessageAnswer;
    for (const auto& [buttons, icon, style, result, answer] :
         {std::tuple{B::YesNo, I::Question, UINT{MB_YESNO | MB_ICONQUESTION}, IDNO, A::No},
          std::tuple{B::YesNo, I::Question, UINT{MB_YESNO | MB_ICONQUESTION}, IDYES, A::Yes},
          std::tuple{B::OkCancel, I::Information, UINT{MB_OKCANCEL | MB_ICONINFORMATION}, IDOK,
                     A::Ok},
          std::tuple{B::OkCancel, I::Information, UINT{MB_OKCANCEL | MB_ICONINFORMATION}, IDCANCEL,
                     A::Cancel},
          std::tuple{B::Ok, I::Warning, UINT{MB_OK | MB_ICONWARNING}, IDOK, A::Ok},
          std::tuple{B::Ok, I::Critical, UINT{MB_OK | MB_ICONERROR}, 0, A::Ok},
          std::tuple{B::Ok, I::None, UINT{MB_OK}, IDOK, A::Ok}}) {
        const UINT shown = messageBoxStyle({"Text", "Titel", buttons, icon});
        EXPECT_EQ(shown & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK), style) << style;
        EXPECT_EQ(answerFor(buttons, result), answer) << style << " " << result;
    }
}

TEST(WindowPartsTest, FileDialogListsTheChoicesAsWrittenAndSplitsTheChosenPath) {
    const std::wstring list = filterList(
        {{"Programme (*.exe;*.bat)", {"*.exe", "*.bat"}}, {" Alle Dateien (*.*)", {"*.*"}}});
    using namespace std::string_literals;
    EXPECT_EQ(list, L"Programme (*.exe;*.bat)\0*.exe;*.bat\0 Alle Dateien (*.*)\0*.*\0\0"s);
    for (const auto& [path, folder, name] : {std::tuple{L"C:\\Programme\\Wach auf\\start.bat",
                                                        "C:\\Programme\\Wach auf\\", "start.bat"},
                                             std::tuple{L"D:\\Müller.exe", "D:\\", "Müller.exe"},
                                             std::tuple{L"start.bat", "", "start.bat"}}) {
        const ChosenFile chosen = splitChosenPath(path);
        EXPECT_EQ(chosen.folder, folder);
        EXPECT_EQ(chosen.name, name);
    }
}

}  // namespace
}  // namespace somnar::win32
