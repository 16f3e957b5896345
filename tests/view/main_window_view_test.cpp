// The real main window offscreen: every control at its place with its caption, the
// start state, and input and model changes passing both ways.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>
#include <set>

#include "app/main_window_model.h"
#include "fakes/fake_platform.h"
#include "platform/qt/app_view.h"

namespace somnar {
namespace {

using testing::FakePlatform;

void processEventsFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

struct MainWindowView : ::testing::Test {
    FakePlatform platform;
    InfoWindow info{platform.services};
    MainWindow form{platform.services, info};
    std::unique_ptr<AppView> view;

    void SetUp() override {
        platform.dialer.entries = {"provider", "Mobil Funk"};
        form.load();
        view = std::make_unique<AppView>(form, info);
        form.window.show();
        // The widgets below the compact view follow once the window has been painted.
        QElapsedTimer waited;
        waited.start();
        while (view->mainView().findChild<QWidget*>("chkINET") == nullptr &&
               waited.elapsed() < 2000) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    template <typename W>
    W* widget(const char* key) {
        return view->mainView().findChild<W*>(QString::fromUtf8(key));
    }
};

QString captionOf(QWidget* widget) {
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return group->title();
    }
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit->text();
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->currentText();
    }
    return {};
}

std::string modelCaption(const Control& control) {
    switch (control.kind()) {
        case ControlKind::CommandButton: {
            const auto& button = static_cast<const CommandButton&>(control);
            return button.picture() == Picture::None ? button.caption() : "";
        }
        case ControlKind::CheckBox:
            return static_cast<const CheckBox&>(control).caption();
        case ControlKind::OptionButton:
            return static_cast<const OptionButton&>(control).caption();
        case ControlKind::Label:
            return static_cast<const Label&>(control).caption();
        case ControlKind::Frame: {
            const auto& frame = static_cast<const Frame&>(control);
            return frame.borderless() ? "" : frame.caption();
        }
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(control).text();
        case ControlKind::Picker:
            return static_cast<const Picker&>(control).text();
        default:
            return "";
    }
}

TEST_F(MainWindowView, EveryControlHasItsWidgetAtItsPlaceWithItsCaption) {
    int checked = 0;
    for (const Control* control : form.registry().controls()) {
        if (control->kind() == ControlKind::Timer || control->kind() == ControlKind::MenuEntry ||
            control->kind() == ControlKind::Line) {
            continue;
        }
        QWidget* shown = view->mainView().widgetFor(control);
        ASSERT_NE(shown, nullptr) << control->key();
        EXPECT_EQ(shown->objectName().toStdString(), control->key());
        const Place& place = control->place();
        if (control->kind() != ControlKind::Label ||
            !static_cast<const Label*>(control)->autoSize()) {
            EXPECT_EQ(shown->geometry(),
                      QRect(place.left / 15, place.top / 15, place.width / 15, place.height / 15))
                << control->key();
        }
        QWidget* expectedParent = control->container()
                                      ? view->mainView().widgetFor(control->container())
                                      : &view->mainView();
        EXPECT_EQ(shown->parentWidget(), expectedParent) << control->key();
        EXPECT_EQ(captionOf(shown).toStdString(), modelCaption(*control)) << control->key();
        ++checked;
    }
    EXPECT_GT(checked, 80);
}

TEST_F(MainWindowView, StartsFixedCompactWithTheDesignedStateAndFollowsTheModel) {
    WindowView& window = view->mainView();
    EXPECT_EQ(window.windowTitle(), "Hibernate-Standby-Somnar-Scheduler");
    EXPECT_EQ(window.size(), QSize(550, (3600 - 510) / 15));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(window.windowIcon().isNull());
    std::set<std::string> disabled;
    std::set<std::string> hidden;
    for (const Control* control : form.registry().controls()) {
        QWidget* shown = view->mainView().widgetFor(control);
        // Disabled in its own right, not only through a disabled frame.
        if (shown != nullptr && shown->testAttribute(Qt::WA_ForceDisabled)) {
            disabled.insert(control->key());
        }
        if (shown != nullptr && shown->isHidden()) {
            hidden.insert(control->key());
        }
    }
    EXPECT_EQ(disabled, (std::set<std::string>{
                            "cmdTray",     "cmdReset",      "cmdParameterInfo", "chkActionen",
                            "Frame1(0)",   "cmbDay",        "cmbMonth",         "cmbYear",
                            "cmbHour",     "cmbMinute",     "cmbDFUE_Name",     "txtUser",
                            "txtPassword", "cmdNormalOrPW", "chkFTP",           "txtServer",
                            "txtDir",      "txtFTP_USER",   "txtFTP_Password",  "cmdNormalOrPW2",
                            "chkPassiv",   "Text1",         "cmbSpanne"}));
    EXPECT_FALSE(widget<QWidget>("Label19")->isEnabled());  // inside the disabled frame
    EXPECT_EQ(hidden, (std::set<std::string>{"Command4", "cmdFTP_PUT", "TxtFile", "TxtFileR",
                                             "Label17", "Label18"}));
    auto* span = widget<QComboBox>("cmbSpanne");
    EXPECT_EQ(span->count(), 1440);
    EXPECT_EQ(span->currentText(), "  20");
    EXPECT_EQ(span->font().family(), "Liberation Mono");
    EXPECT_EQ(widget<QComboBox>("cmbDFUE_Name")->itemText(1), "Mobil Funk");
    EXPECT_EQ(widget<QComboBox>("cmbDFUE_Name")->currentText(), "");

    form.statusLine.setCaption("Countdown für Ruhezustand aktiv...");
    form.dialupBox.setValue(1);
    form.dialupPassword.setPasswordChar("");
    form.wakeTime.day.setText("7");
    form.trayButton.setEnabled(true);
    form.window.setHeight(10365);
    EXPECT_EQ(widget<QLabel>("Label26")->text(), "Countdown für Ruhezustand aktiv...");
    EXPECT_TRUE(widget<QCheckBox>("chkINET")->isChecked());
    EXPECT_EQ(widget<QLineEdit>("txtPassword")->echoMode(), QLineEdit::Normal);
    EXPECT_EQ(widget<QComboBox>("cmbDay")->currentText(), "7");
    EXPECT_TRUE(widget<QPushButton>("cmdTray")->isEnabled());
    EXPECT_EQ(view->mainView().height(), (10365 - 510) / 15);
}

TEST(MainWindowStart, WidgetsBelowTheCompactViewFollowOnceShownOrAtOnceWhenGrown) {
    for (bool grow : {false, true}) {
        FakePlatform platform;
        InfoWindow info{platform.services};
        MainWindow form{platform.services, info};
        form.load();
        AppView view(form, info);
        form.window.show();
        EXPECT_NE(view.mainView().findChild<QWidget*>("cmdRS_aus(0)"), nullptr);
        EXPECT_EQ(view.mainView().findChild<QWidget*>("chkINET"), nullptr);
        form.dialupUser.setText("vor dem Bau");
        if (grow) {
            form.window.setHeight(10365);
        } else {
            processEventsFor(300);
        }
        auto* user = view.mainView().findChild<QLineEdit*>("txtUser");
        ASSERT_NE(user, nullptr) << grow;
        EXPECT_EQ(user->text(), "vor dem Bau");
        EXPECT_EQ(view.mainView().findChild<QComboBox*>("cmbSpanne")->parentWidget()->objectName(),
                  "Frame3");
    }
}

// Both ends of a status line too long for its label stay readable; the whole line is
// the tool tip, unless the control has its own.
TEST_F(MainWindowView, StatusTooLongForItsLabelIsShortenedInTheMiddle) {
    const QString whole = QStringLiteral(
        "Programmstart fehlgeschlagen: Das Programm "
        "/home/anna/Schreibtisch/Aufwachen-Ruhe/aufwachen.sh wurde nicht gefunden.");
    for (Label* label : {&form.statusLine, &form.ftpStatus}) {
        auto* shown = qobject_cast<QLabel*>(view->mainView().widgetFor(label));
        ASSERT_NE(shown, nullptr) << label->key();
        label->setCaption(whole.toStdString());
        const QString text = shown->text();
        const qsizetype cut = text.indexOf(QChar(0x2026));
        ASSERT_GT(cut, 0) << text.toStdString();
        EXPECT_TRUE(whole.startsWith(text.left(cut))) << text.toStdString();
        EXPECT_TRUE(whole.endsWith(text.mid(cut + 1)) && cut + 1 < text.size());
        EXPECT_LE(shown->fontMetrics().horizontalAdvance(text), shown->width());
        EXPECT_EQ(shown->toolTip(), whole);

        label->setCaption("Connected...");
        EXPECT_EQ(shown->text(), "Connected...");
        EXPECT_EQ(shown->toolTip(), "");
    }
    form.ftpStatus.setToolTip("Verbindungsstatus");
    form.ftpStatus.setCaption(whole.toStdString());
    EXPECT_EQ(widget<QLabel>("Status")->toolTip(), "Verbindungsstatus");
}

TEST_F(MainWindowView, UserInputReachesTheModelUnlessTheWidgetIsDisabled) {
    widget<QRadioButton>("optSOMNAR(0)")->click();
    widget<QRadioButton>("optSOMNAR(0)")->click();  // the selected option stays selected
    EXPECT_TRUE(widget<QRadioButton>("optSOMNAR(0)")->isChecked());
    EXPECT_TRUE(form.wakeChoice[0].value() && !form.wakeChoice[1].value());
    EXPECT_FALSE(widget<QRadioButton>("optSOMNAR(1)")->isChecked());
    widget<QCheckBox>("chkPROG")->click();
    EXPECT_EQ(form.programBox.value(), 1);
    widget<QComboBox>("cmbMinute_aus")->setEditText("42");
    EXPECT_EQ(form.sleepTime.minute.text(), "42");
    widget<QLineEdit>("txtUser")->setText("typed while disabled");
    EXPECT_EQ(form.dialupUser.text(), "");
}

TEST_F(MainWindowView, InfoButtonOpensOneInfoWindowAndItsBackButtonClosesIt) {
    widget<QPushButton>("cmdInfo")->click();
    ASSERT_NE(view->infoView(), nullptr);
    WindowView* first = view->infoView();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "Somnar-Scheduler INFO");
    auto* text = first->findChild<QPlainTextEdit*>("Text1");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().startsWith("Das Programm versetzt den Rechner"));
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);

    widget<QPushButton>("cmdInfo")->click();
    EXPECT_EQ(view->infoView(), first);

    first->findChild<QPushButton*>("Command1")->click();
    EXPECT_EQ(view->infoView(), nullptr);
    EXPECT_FALSE(info.window.loaded());
}

// What a screen reader calls a widget. A picker reports its text as its name here; it
// is named by the label that stands for it.
QString accessibleName(QWidget* widget) {
    QAccessibleInterface* seen = QAccessible::queryAccessibleInterface(widget);
    if (seen == nullptr || seen->role() != QAccessible::ComboBox) {
        return seen == nullptr ? QString() : seen->text(QAccessible::Name);
    }
    for (const auto& [label, relation] : seen->relations(QAccessible::Label)) {
        if (label->role() == QAccessible::StaticText) {
            return label->text(QAccessible::Name);
        }
    }
    return {};
}

TEST_F(MainWindowView, ScreenReadersSeeTitledWindowsAndNamedInputs) {
    widget<QPushButton>("cmdInfo")->click();
    for (WindowView* window : {&view->mainView(), view->infoView()}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), QAccessible::Window);
        EXPECT_EQ(accessibleName(window), window->windowTitle());
    }
    EXPECT_EQ(accessibleName(view->infoView()->findChild<QWidget*>("Command1")), "Zurück");

    const std::set<ControlKind> inputs{ControlKind::CommandButton, ControlKind::CheckBox,
                                       ControlKind::OptionButton, ControlKind::Picker,
                                       ControlKind::TextBox};
    std::map<QString, std::string> named;  // name -> control key
    for (const Control* control : form.registry().controls()) {
        if (!inputs.contains(control->kind())) {
            continue;
        }
        const QString name = accessibleName(view->mainView().widgetFor(control));
        EXPECT_FALSE(name.isEmpty()) << control->key();
        const auto [first, unique] = named.emplace(name, control->key());
        EXPECT_TRUE(unique) << control->key() << " and " << first->second << " share "
                            << name.toStdString();
    }
    const std::map<QString, std::string> expected{
        {"Ruhezeit Tag", "cmbDay_aus"},
        {"Aufwachzeit Tag", "cmbDay"},
        {"Aufwachzeit Minute", "cmbMinute"},
        {"Name der DFÜ-Verbindung", "cmbDFUE_Name"},
        {"DFÜ-Password", "txtPassword"},
        {"FTP-Password", "txtFTP_Password"},
        {"Standby jetzt (sofort) auslösen", "cmdSuspend"},
        {"Standby", "cmdRS_aus(1)"},
        {"Neuer Standbyzustand", "Option1(1)"},
        {"DSL-Verbindung benutzen?", "chkDSL"},
    };
    for (const auto& [name, key] : expected) {
        EXPECT_EQ(named[name], key) << name.toStdString();
    }
}

TEST_F(MainWindowView, ProgramEndsWhenTheLastWindowCloses) {
    form.onInfo();
    form.dialupUser.setText("anna");
    QTimer::singleShot(0, [&] {
        view->mainView().close();
        EXPECT_EQ(platform.settings.stored("Verbindung", "Userername"), "anna");
        EXPECT_TRUE(info.window.loaded());  // the info window keeps the program running
        view->infoView()->close();
    });
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [] { QApplication::exit(99); });
    safety.start(5000);
    EXPECT_EQ(QApplication::exec(), 0);
}

// Captions fit their designed places with the window's fonts, so none is cut off.
TEST_F(MainWindowView, NoCaptionIsCutOffInTheFullView) {
    form.window.setHeight(10365);
    std::vector<std::string> cut;
    for (const Control* control : form.registry().controls()) {
        QWidget* shown = view->mainView().widgetFor(control);
        // The focus target lies outside the client area and is never seen.
        if (shown == nullptr || shown->isHidden() || shown->x() >= view->mainView().width()) {
            continue;
        }
        int needed = 0;
        if (auto* label = qobject_cast<QLabel*>(shown); label && !label->text().isEmpty()) {
            // The caption as the model has it: one cut off would show shortened.
            needed = label->fontMetrics().horizontalAdvance(
                QString::fromStdString(static_cast<const Label*>(control)->caption()));
        } else if (auto* push = qobject_cast<QPushButton*>(shown);
                   push && !push->text().isEmpty()) {
            needed = push->fontMetrics().horizontalAdvance(push->text()) + 4;
        } else if (auto* box = qobject_cast<QAbstractButton*>(shown);
                   box && !box->text().isEmpty()) {
            needed = box->sizeHint().width();  // text and its tick box or circle
        } else if (auto* group = qobject_cast<QGroupBox*>(shown); group) {
            needed = group->fontMetrics().horizontalAdvance(group->title());
        }
        if (needed > shown->width()) {
            cut.push_back(control->key() + " needs " + std::to_string(needed) + " has " +
                          std::to_string(shown->width()));
        }
        // A later sibling must not cover the caption's text.
        if (qobject_cast<QLabel*>(shown) != nullptr && needed > 0) {
            const QRect text(shown->pos(), QSize(needed, shown->height()));
            for (QObject* other : shown->parentWidget()->children()) {
                auto* sibling = qobject_cast<QWidget*>(other);
                if (sibling && sibling != shown && !sibling->isHidden() &&
                    qobject_cast<QLabel*>(sibling) == nullptr &&
                    sibling->geometry().intersects(text)) {
                    cut.push_back(control->key() + " is covered by " +
                                  sibling->objectName().toStdString());
                }
            }
        }
    }
    EXPECT_EQ(cut, std::vector<std::string>{});
    if (const QByteArray folder = qgetenv("SOMNAR_SCREENSHOT_DIR"); !folder.isEmpty()) {
        view->mainView().grab().save(QString::fromUtf8(folder) + "/main-window-full.png");
    }
}

}  // namespace
}  // namespace somnar
