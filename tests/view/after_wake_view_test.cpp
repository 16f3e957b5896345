// The tray icon, the program path's drops and tool tip, and the open-file dialog, with
// the real widgets offscreen.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"
#include "platform/qt/app_view.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_tray_icon.h"

namespace somnar {
namespace {

using testing::FakePlatform;

struct AfterWakeView : ::testing::Test {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};
    std::unique_ptr<AppView> view;

    void SetUp() override {
        form.load();
        view = std::make_unique<AppView>(form, info);
        form.window.show();
        view->mainView().buildAllControls();
    }

    template <typename W>
    W* widget(const char* key) {
        return view->mainView().findChild<W*>(QString::fromUtf8(key));
    }
};

TEST_F(AfterWakeView, TrayHidesTheWindowAndOnlyTheLeftReleaseOpensTheMenu) {
    form.trayButton.setEnabled(true);
    widget<QPushButton>("cmdTray")->click();
    EXPECT_EQ(platform.tray.calls, (std::vector<std::string>{"prepare", "add"}));
    EXPECT_FALSE(view->mainView().isVisible());

    platform.tray.onClick(TrayClick::LeftDown);
    platform.tray.onClick(TrayClick::RightUp);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    QString shownEntries;
    QTimer::singleShot(100, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            shownEntries += action->text() + "|";
        }
        menu->actions().at(1)->trigger();
        menu->close();
    });
    platform.tray.onClick(TrayClick::LeftUp);  // returns once the menu is closed
    EXPECT_EQ(shownEntries, "Countdownparameter anzeigen|Programmfenster anzeigen|");
    EXPECT_TRUE(view->mainView().isVisible());
    EXPECT_EQ(platform.tray.calls.back(), "remove");
}

TEST_F(AfterWakeView, OnlyLocalFilesDropOntoThePathTheFirstOfThemAndTheToolTipFollows) {
    form.programBox.setValue(1);
    auto* path = widget<QLineEdit>("Text1");
    const std::string before = form.programPath.text();
    QMimeData text;
    text.setText("/home/anna/eingefügt.sh");
    QMimeData web;
    web.setUrls({QUrl("https://example.org/aufwachen.sh")});
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/home/anna/Aufwachen-Ruhe/eins.sh"),
                   QUrl::fromLocalFile("/home/anna/zwei.sh")});
    for (QMimeData* data : {&text, &web, &files}) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(path, &enter);
        EXPECT_EQ(enter.isAccepted(), data == &files);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(path, &drop);
        const std::string expected = data == &files ? "/home/anna/Aufwachen-Ruhe/eins.sh" : before;
        EXPECT_EQ(path->text().toStdString(), expected);
        EXPECT_EQ(form.programPath.text(), expected);
    }
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), path->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(path, &hover);
    EXPECT_EQ(path->toolTip(), "/home/anna/Aufwachen-Ruhe/eins.sh");
    QToolTip::hideText();

    widget<QPushButton>("cmdOpenExe")->click();  // the dialog is cancelled here
    EXPECT_EQ(path->text(), "");
}

TEST_F(AfterWakeView, WithoutNotificationAreaTheTrayButtonMinimisesTheWindow) {
    platform.tray.hasNotificationArea = false;
    form.trayButton.setEnabled(true);
    widget<QPushButton>("cmdTray")->click();
    EXPECT_TRUE(view->mainView().windowState() & Qt::WindowMinimized);
}

TEST(QtTrayIconClicks, PressAndReleaseOnTheIconWindowArriveAsTheirOwnClicks) {
    QtTrayIcon tray;
    std::vector<TrayClick> clicks;
    tray.onClick = [&](TrayClick click) { clicks.push_back(click); };
    QWidget iconWindow;
    iconWindow.setObjectName("QSystemTrayIconSys");
    QWidget other;
    const QPointF at(3, 3);
    const auto send = [&](QWidget& target, QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, at, target.mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(&target, &event);
    };
    send(iconWindow, QEvent::MouseButtonPress, Qt::LeftButton);
    send(iconWindow, QEvent::MouseButtonRelease, Qt::LeftButton);
    send(iconWindow, QEvent::MouseButtonPress, Qt::RightButton);
    send(iconWindow, QEvent::MouseButtonRelease, Qt::RightButton);
    send(other, QEvent::MouseButtonRelease, Qt::LeftButton);  // not the icon
    EXPECT_EQ(clicks, (std::vector<TrayClick>{TrayClick::LeftDown, TrayClick::LeftUp,
                                              TrayClick::RightDown, TrayClick::RightUp}));
}

TEST(QtFileDialogSetUp, TitleFolderAndChoicesAsWrittenThatFindScriptsAndFilesWithoutExtension) {
    const auto dialog = QtFileDialog::makeDialog(
        nullptr, "Exe oder BAT Datei auswählen", "/tmp",
        {{"EXE- oder BAT-Dateien(*.exe;*.bat)", {"*.exe", "*.bat", "*.sh"}},
         {" Alle Dateien (*.*)", {"*"}}});
    dialog->show();
    EXPECT_EQ(dialog->windowTitle(), "Exe oder BAT Datei auswählen");
    EXPECT_EQ(dialog->directory().absolutePath(), "/tmp");
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
    auto* choices = dialog->findChild<QComboBox*>("fileTypeCombo");
    auto* files = dialog->findChild<QFileSystemModel*>();
    ASSERT_NE(choices, nullptr);
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(choices->count(), 2);
    EXPECT_EQ(choices->itemText(0), "EXE- oder BAT-Dateien(*.exe;*.bat)");
    EXPECT_EQ(choices->itemText(1), " Alle Dateien (*.*)");
    EXPECT_EQ(choices->currentIndex(), 0);
    EXPECT_EQ(files->nameFilters(), (QStringList{"*.exe", "*.bat", "*.sh"}));
    emit choices->activated(1);
    EXPECT_EQ(files->nameFilters(), QStringList{"*"});
    EXPECT_EQ(choices->itemText(1), " Alle Dateien (*.*)");
    dialog->close();
}

}  // namespace
}  // namespace somnar
