// The real widgets, offscreen in one QApplication: every control as designed, what screen
// readers see, the status line, drops, the tray icon's clicks, the ends of the program.

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QSessionManager>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include <csignal>
#include <functional>
#include <map>
#include <set>
#include <utility>

#include "platform/linux/responsive_wait.h"
#include "platform/model_hold.h"
#include "platform/qt/app_view.h"
#include "platform/qt/look.h"
#include "platform/qt/qt_tray_icon.h"
#include "platform/qt/termination_watch.h"
#include "unit/form_fixture.h"

namespace somnar {
namespace {

struct View : testing::ProgramTest {
    std::unique_ptr<AppView> view;

    void SetUp() override {
        form.load();
        view = std::make_unique<AppView>(form, info);
        ui.window.show();
        view->mainView().buildAllControls();
    }
    template <typename W = QWidget>
    W* widget(const Control& control) {
        return qobject_cast<W*>(view->mainView().widgetFor(&control));
    }
    // A key at a time, as the user types into the box once it is open to input.
    void type(Control& box, const QString& text) {
        box.setEnabled(true);
        for (const QChar letter : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, letter);
            QApplication::sendEvent(widget(box), &press);
        }
    }
    // Every control shown as a widget, with its design row.
    std::vector<std::tuple<const ControlDesign&, const Control*, QWidget*>> shownControls() {
        std::vector<std::tuple<const ControlDesign&, const Control*, QWidget*>> shown;
        const std::vector<ControlDesign>& rows = mainWindowDesign().controls;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (!std::set{ControlKind::Timer, ControlKind::MenuEntry, ControlKind::Line}.contains(
                    rows[i].kind)) {
                const Control* control = ui.registry.controls().at(i);
                shown.emplace_back(rows[i], control, view->mainView().widgetFor(control));
            }
        }
        return shown;
    }
};

// A label's or input's text as the program filled it in, else the designed caption.
std::string modelText(const ControlDesign& row, const Control& control) {
    switch (row.kind) {
        case ControlKind::Label:
            return static_cast<const Label&>(control).caption();
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(control).text();
        case ControlKind::Picker:
            return static_cast<const Picker&>(control).text();
        default:
            return std::string(row.caption);
    }
}

// A group's title, a picker's text, or the text of a button, label or input field.
std::string caption(const QWidget& widget) {
    for (const char* property : {"title", "currentText", "text"}) {
        if (const QVariant value = widget.property(property); value.isValid()) {
            return value.toString().toStdString();
        }
    }
    return "";
}

// Every control at its designed place in its container, with its caption and start
// state; in the full view the captions fit their places and no sibling covers a label's.
TEST_F(View, EveryControlIsShownAsDesignedAndNoCaptionIsCutOffOrCovered) {
    ui.window.setHeight(10365);
    std::vector<std::string> faults;
    for (const auto& [row, control, shown] : shownControls()) {
        ASSERT_NE(shown, nullptr) << row.name;
        EXPECT_EQ(shown->objectName().toStdString(), control->key());
        if (!row.autoSize) {
            EXPECT_EQ(shown->geometry(), QRect(row.place.left / 15, row.place.top / 15,
                                               row.place.width / 15, row.place.height / 15))
                << control->key();
        }
        QWidget* parent = control->container() ? view->mainView().widgetFor(control->container())
                                               : &view->mainView();
        EXPECT_EQ(shown->parentWidget(), parent) << control->key();
        const std::string text = modelText(row, *control);
        const bool captionShown = row.picture == Picture::None && !row.borderless;
        EXPECT_EQ(caption(*shown), captionShown ? text : "") << control->key();
        // Disabled in its own right, not only through a disabled frame.
        EXPECT_EQ(shown->testAttribute(Qt::WA_ForceDisabled), !row.enabled) << control->key();
        // The focus target lies outside the client area: hidden, it is never seen.
        const bool outside = shown->x() >= view->mainView().width();
        EXPECT_EQ(shown->isHidden(), !row.visible || outside) << control->key();

        // Captions only.
        if (!captionShown || text.empty() || row.kind == ControlKind::Picker ||
            row.kind == ControlKind::TextBox || shown->isHidden()) {
            continue;
        }
        // The whole caption: one cut off would show shortened.
        int needed = shown->fontMetrics().horizontalAdvance(QString::fromStdString(text));
        if (qobject_cast<QPushButton*>(shown) != nullptr) {
            needed += 4;
        } else if (qobject_cast<QAbstractButton*>(shown) != nullptr) {
            needed = shown->sizeHint().width();  // text and its tick box or circle
        } else if (qobject_cast<QLabel*>(shown) != nullptr) {
            const QRect covered(shown->pos(), QSize(needed, shown->height()));
            for (QWidget* sibling :
                 shown->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (sibling != shown && !sibling->isHidden() && !qobject_cast<QLabel*>(sibling) &&
                    sibling->geometry().intersects(covered)) {
                    faults.push_back(control->key() + " is covered by " +
                                     sibling->objectName().toStdString());
                }
            }
        }
        if (needed > shown->width()) {
            faults.push_back(control->key() + " is cut off");
        }
    }
    EXPECT_EQ(faults, std::vector<std::string>{});
}

// What a screen reader calls a widget.
std::string accessibleName(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name).toStdString();
}

TEST_F(View, ScreenReadersSeeBothWindowsWithTheirTitlesAndEveryInputByItsOwnName) {
    widget<QPushButton>(ui.infoButton)->click();
    ASSERT_NE(view->infoView(), nullptr);
    for (const auto& [window, title] :
         {std::pair{&view->mainView(), "Hibernate-Standby-Somnar-Scheduler"},
          {view->infoView(), "Somnar-Scheduler INFO"}}) {
        EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
        EXPECT_EQ(accessibleName(window), title);
    }
    EXPECT_EQ(accessibleName(view->infoView()->findChild<QWidget*>("Command1")), "Zurück");

    std::map<std::string, std::string> named;  // name -> control key
    for (const auto& [row, control, shown] : shownControls()) {
        if (row.kind <= ControlKind::TextBox) {  // the kinds of input controls
            const std::string name = accessibleName(shown);
            EXPECT_FALSE(name.empty()) << control->key();
            if (auto* picker = qobject_cast<QComboBox*>(shown)) {  // and the field inside it
                EXPECT_EQ(accessibleName(picker->lineEdit()), name) << control->key();
            }
            const auto [first, unique] = named.emplace(name, control->key());
            EXPECT_TRUE(unique) << control->key() << " and " << first->second << " share " << name;
        }
    }
    EXPECT_EQ(named["Ruhezeit Tag"], "cmbDay_aus");  // a picker, by its label
    EXPECT_EQ(named["DFÜ-Password"], "txtPassword");
    EXPECT_EQ(named["Standby jetzt (sofort) auslösen"], "cmdSuspend");  // a picture
    EXPECT_EQ(named["Neuer Standbyzustand"], "Option1(1)");             // its caption is used twice
}

// Boxes and options show the model's answer to whatever changed them: the model may clear
// the chosen option alone; while a platform call holds the model, or for a control outside
// the shown part of the window, a screen reader's toggle changes nothing.
TEST_F(View, BoxesAndOptionsShowTheModelsAnswerToWhateverChangedThem) {
    const auto ticked = [&](const Control& control) {
        return widget<QAbstractButton>(control)->isChecked();
    };
    ui.renewedSleepState[0].setValue(false);  // start-up may leave neither chosen
    EXPECT_FALSE(ticked(ui.renewedSleepState[0]) || ticked(ui.renewedSleepState[1]));

    ui.optionsBox.setEnabled(true);
    auto hold = std::make_unique<ModelHold>();
    widget<QAbstractButton>(ui.wakeChoice[0])->toggle();
    widget<QAbstractButton>(ui.optionsBox)->toggle();
    hold.reset();
    widget<QAbstractButton>(ui.dialupBox)->toggle();  // below the compact view
    const std::vector<const Control*> boxes{&ui.wakeChoice[0], &ui.wakeChoice[1], &ui.optionsBox,
                                            &ui.dialupBox};
    std::vector<bool> shown;
    for (const Control* box : boxes) {
        shown.push_back(ticked(*box));
    }
    EXPECT_EQ(shown, (std::vector{false, true, false, false}));
    EXPECT_FALSE(ui.wakeChoice[0].value() || ui.optionsBox.ticked() || ui.dialupBox.ticked());

    for (const int open : {1, 0}) {  // shown while the options are open, hidden again after
        ui.optionsBox.setValue(open);
        EXPECT_EQ(widget(ui.dialupBox)->isVisible(), open == 1);
    }
}

// Both ends of a line too long for its label stay readable; the whole line is the tool
// tip, unless the control has its own.
TEST_F(View, StatusTooLongForItsLabelIsShortenedInTheMiddle) {
    const QString whole = QStringLiteral(
        "Programmstart fehlgeschlagen: Das Programm "
        "/home/anna/Schreibtisch/Aufwachen-Ruhe/aufwachen.sh wurde nicht gefunden.");
    auto* shown = widget<QLabel>(ui.statusLine);
    ui.statusLine.setCaption(whole.toStdString());
    const QString text = shown->text();
    const qsizetype cut = text.indexOf(QChar(0x2026));
    ASSERT_GT(cut, 0) << text.toStdString();
    EXPECT_TRUE(whole.startsWith(text.left(cut))) << text.toStdString();
    EXPECT_TRUE(cut + 1 < text.size() && whole.endsWith(text.mid(cut + 1)));
    EXPECT_LE(shown->fontMetrics().horizontalAdvance(text), shown->width());
    EXPECT_EQ(shown->toolTip().toStdString(), whole.toStdString());

    ui.statusLine.setCaption("Connected...");
    EXPECT_EQ(shown->text().toStdString(), "Connected...");
    EXPECT_EQ(shown->toolTip().toStdString(), "");
    ui.ftpStatus.setToolTip("Verbindungsstatus");
    ui.ftpStatus.setCaption(whole.toStdString());
    EXPECT_EQ(widget(ui.ftpStatus)->toolTip().toStdString(), "Verbindungsstatus");
}

TEST_F(View, OnlyLocalFilesDropOntoThePathTheFirstOfThemAndTheToolTipFollows) {
    ui.programBox.setValue(1);
    auto* path = widget<QLineEdit>(ui.programPath);
    const QString before = path->text();
    const QString first = "/home/anna/Aufwachen-Ruhe/eins.sh";
    QMimeData web, files;
    web.setUrls({QUrl("https://example.org/aufwachen.sh")});
    files.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile("/home/anna/zwei.sh")});
    for (QMimeData* data : {&web, &files}) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(path, &enter);
        EXPECT_EQ(enter.isAccepted(), data == &files);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(path, &drop);
        const std::string expected = (data == &files ? first : before).toStdString();
        EXPECT_EQ(path->text().toStdString(), expected);
        EXPECT_EQ(ui.programPath.text(), expected);
    }
    QHelpEvent hover(QEvent::ToolTip, QPoint(5, 5), path->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(path, &hover);
    EXPECT_EQ(path->toolTip().toStdString(), first.toStdString());
    QToolTip::hideText();
}

// While a sleep request waits for the power service the window keeps painting, but no tick
// and no close reaches the model. The wait ends when the descriptor is ready, when its time is
// up, or when the program is told to end.
TEST_F(View, WaitingForThePowerServiceKeepsTheWindowPaintingAndTheModelStill) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ui.hibernateCountdown.setInterval(5);  // each tick writes the status line
    ui.hibernateCountdown.setEnabled(true);
    struct Paints : QObject {
        int seen = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            return seen += e->type() == QEvent::Paint, false;
        }
    } paints;
    view->mainView().installEventFilter(&paints);
    QTimer::singleShot(100, [&] { view->mainView().update(), view->mainView().close(); });
    QTimer::singleShot(150, [&] { EXPECT_EQ(::write(ends[1], "x", 1), 1); });
    ResponsiveWait wait;
    EXPECT_TRUE(wait.wait(ends[0], POLLIN, std::nullopt));
    EXPECT_GT(paints.seen, 0);
    EXPECT_EQ(ui.statusLine.caption(), "");
    EXPECT_TRUE(ui.window.loaded() && view->mainView().isVisible());
    EXPECT_TRUE(wait.wait(ends[1], POLLIN, std::chrono::milliseconds(20)));  // never readable
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    EXPECT_FALSE(wait.wait(ends[1], POLLIN, std::nullopt));
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();  // the next event loop may run again
    ::close(ends[0]), ::close(ends[1]);
}

// What the window first paints: captions measured as they paint are those of the finished
// window, and a picker's list, built when it first opens, has the picker's font.
TEST_F(View, TheFirstPaintShowsTheFinishedCaptionsAndAListGetsItsPickersFont) {
    AppView fresh(form, info);  // not shown yet: its captions wait for their paint
    QWidget& window = fresh.mainView();
    auto* frame = window.findChild<QGroupBox*>("Frame4");
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->title(), "");
    const QImage first = window.grab().toImage();
    EXPECT_EQ(frame->title(), "Ruhezustand oder Standby zu dieser Zeit auslösen");
    fresh.mainView().buildAllControls();
    EXPECT_EQ(window.grab().toImage(), first);

    auto* picker = widget<QComboBox>(ui.wakeTime.year);
    EXPECT_EQ(picker->font().family(), "Liberation Mono");
    EXPECT_EQ(picker->view()->font(), picker->font());
    EXPECT_EQ(picker->lineEdit()->font(), picker->font());
}

// The first frame a shown window puts on screen is the finished window: captions, the pickers'
// fields and their texts are there, although they wait until the window is on screen.
TEST_F(View, TheFirstFrameOnScreenIsTheFinishedWindow) {
    AppView fresh(form, info);  // shown at once: the model's window is visible
    QWidget& window = fresh.mainView();
    QImage first;
    struct FirstFrame : QObject {
        std::function<void()> onPaint;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && onPaint) {
                // The window paints before its children; the frame is complete once the
                // queue is next read, before any update asked for while painting.
                QTimer::singleShot(0, std::exchange(onPaint, nullptr));
            }
            return false;
        }
    } frames;
    frames.onPaint = [&] { first = window.screen()->grabWindow(window.winId()).toImage(); };
    window.installEventFilter(&frames);
    for (int turn = 0; turn < 200 && first.isNull(); ++turn) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    ASSERT_FALSE(first.isNull());
    fresh.mainView().buildAllControls();
    EXPECT_EQ(window.grab().toImage().convertToFormat(first.format()), first);
}

// The icons show the pictures' pixels, each where it belongs.
TEST_F(View, EveryIconShowsItsPicture) {
    const std::pair<QIcon, const char*> icons[] = {
        {iconFor(Picture::HibernationSymbol), "hibernate"},
        {iconFor(Picture::StandbySymbol), "standby"},
        {iconFor(Picture::OpenIcon), "open"},
        {iconFor(Picture::InfoIcon), "info"},
        {mainWindowIcon(), "window"},
        {infoWindowIcon(), "info-window"}};
    for (const auto& [icon, name] : icons) {
        const QIcon picture(QString(SOMNAR_ICONS_DIR "/%1.png").arg(name));
        const QSize size = picture.availableSizes().value(0);
        ASSERT_FALSE(size.isEmpty()) << name;
        EXPECT_EQ(icon.availableSizes(), QList{size}) << name;
        EXPECT_EQ(icon.pixmap(size).toImage(), picture.pixmap(size).toImage()) << name;
    }
}

// Every value the window stores, with what the fixture typed.
constexpr const char* kTyped =
    "Verbindung/Name=;Verbindung/Password=geheim;Verbindung/Userername=;"
    "VidOru FTP/Directory=;VidOru FTP/Password=;VidOru FTP/Server=;VidOru FTP/User=anna;";

TEST_F(View, TheCloseBoxStoresWhatWasTyped) {
    type(ui.ftpUser, "anna");
    type(ui.dialupPassword, "geheim");
    ASSERT_EQ(platform.settings.all(), "");
    view->mainView().close();
    EXPECT_EQ(platform.settings.all(), kTyped);
    EXPECT_FALSE(ui.window.loaded());
}

TEST_F(View, TheSessionManagersRequestToSaveStoresAndKeepsTheWindow) {
    type(ui.ftpUser, "anna");
    type(ui.dialupPassword, "geheim");
    const SessionEndWatch watch(*qApp, form);
    auto* manager = qApp->findChild<QSessionManager*>();
    ASSERT_NE(manager, nullptr);
    emit qApp->commitDataRequest(*manager);
    EXPECT_EQ(platform.settings.all(), kTyped);
    EXPECT_TRUE(ui.window.loaded());
}

// In a child, so that a SIGTERM nobody handles ends only that: 0 when it stored what was typed
// and the program's event loop ended.
TEST_F(View, SigtermStoresAndThenEndsTheProgram) {
    type(ui.ftpUser, "anna");
    type(ui.dialupPassword, "geheim");
    const pid_t child = ::fork();
    if (child == 0) {
        const SessionEndWatch watch(*qApp, form);
        ::kill(::getpid(), SIGTERM);
        QTimer::singleShot(10000, [] { QCoreApplication::exit(2); });  // never ended
        const int ended = QCoreApplication::exec();
        std::_Exit(ended != 0                                                 ? ended
                   : platform.settings.all() == kTyped && !ui.window.loaded() ? 0
                                                                              : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0);
}

TEST(QtTrayIcon, MouseEventsOnTheIconWindowArriveAsTheirClicks) {
    QtTrayIcon tray;
    std::vector<TrayClick> clicks;
    tray.onClick = [&](TrayClick click) { clicks.push_back(click); };
    QWidget icon, other;
    icon.setObjectName("QSystemTrayIconSys");
    const auto send = [](QWidget& target, QEvent::Type type, Qt::MouseButton button) {
        QMouseEvent event(type, QPointF(), target.mapToGlobal(QPointF()), button, button, {});
        QApplication::sendEvent(&target, &event);
        QCoreApplication::processEvents();  // clicks are told from the event loop
    };
    auto hold = std::make_unique<ModelHold>();  // a sleep request waits: nothing reaches us
    send(icon, QEvent::MouseButtonPress, Qt::LeftButton);
    hold.reset();
    for (Qt::MouseButton button :
         {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton, Qt::BackButton}) {
        send(icon, QEvent::MouseButtonPress, button);
        send(icon, QEvent::MouseButtonRelease, button);
    }
    send(icon, QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(other, QEvent::MouseButtonRelease, Qt::LeftButton);  // not the icon
    using enum TrayClick;
    EXPECT_EQ(clicks, (std::vector{LeftDown, LeftUp, RightDown, RightUp, MiddleDown, MiddleUp,
                                   LeftDouble}));
}

}  // namespace
}  // namespace somnar

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
