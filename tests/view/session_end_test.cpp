// The ends of the program on the real window, offscreen: the close box, the session manager's
// request to save and SIGTERM each store what was typed into the widgets.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QApplication>
#include <QKeyEvent>
#include <QSessionManager>
#include <QTimer>

#include <csignal>

#include "platform/qt/app_view.h"
#include "platform/qt/termination_watch.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

// Every value the window stores, with what the fixture typed.
constexpr const char* kTyped =
    "Verbindung/Name=;Verbindung/Password=geheim;Verbindung/Userername=;"
    "VidOru FTP/Directory=;VidOru FTP/Password=;VidOru FTP/Server=;VidOru FTP/User=anna;";

struct SessionEnd : testing::ProgramTest {
    std::unique_ptr<AppView> view;

    void SetUp() override {
        form.load();
        view = std::make_unique<AppView>(form, info);
        ui.window.show();
        view->mainView().buildAllControls();
        type(ui.ftpUser, "anna");
        type(ui.dialupPassword, "geheim");
    }
    // A key at a time, as the user types into the box once it is open to input.
    void type(Control& box, const QString& text) {
        box.setEnabled(true);
        for (const QChar letter : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
            QApplication::sendEvent(view->mainView().widgetFor(&box), &press);
        }
    }
    std::string stored() const { return platform.settings.all(); }
};

TEST_F(SessionEnd, TheCloseBoxStoresWhatWasTyped) {
    ASSERT_EQ(stored(), "");
    view->mainView().close();
    EXPECT_EQ(stored(), kTyped);
    EXPECT_FALSE(ui.window.loaded());
}

TEST_F(SessionEnd, TheSessionManagersRequestToSaveStoresAndKeepsTheWindow) {
    const SessionEndWatch watch(*qApp, form);
    auto* manager = qApp->findChild<QSessionManager*>();
    ASSERT_NE(manager, nullptr);
    emit qApp->commitDataRequest(*manager);
    EXPECT_EQ(stored(), kTyped);
    EXPECT_TRUE(ui.window.loaded());
}

// In a child, so that a SIGTERM nobody handles ends only that: 0 when it stored what was typed
// and the program's event loop ended.
TEST_F(SessionEnd, SigtermStoresAndThenEndsTheProgram) {
    const pid_t child = ::fork();
    if (child == 0) {
        const SessionEndWatch watch(*qApp, form);
        ::kill(::getpid(), SIGTERM);
        QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });  // never ended
        const int ended = QCoreApplication::exec();
        std::_Exit(ended != 0 ? ended : stored() == kTyped && !ui.window.loaded() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

}  // namespace
}  // namespace somnar
