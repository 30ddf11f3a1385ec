// SPDX-License-Identifier: MIT
// The window and its message boxes never leave their one size: what their
// title bars offer, and what happens when something asks for more anyway.
#include "recorders.h"

#include "ui/message_box.h"

#include <QAccessible>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace vantoril::testing {
namespace {

constexpr Qt::WindowStates kOversized = Qt::WindowMaximized | Qt::WindowFullScreen;

TEST(WindowStates, TheTitleBarsOfferNoMaximise)
{
    Harness h;
    const Qt::WindowFlags window = h.window->windowFlags();
    EXPECT_TRUE(window.testFlag(Qt::CustomizeWindowHint)); // only the buttons named
    EXPECT_TRUE(window.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(window.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(window.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(window.testFlag(Qt::WindowFullscreenButtonHint));

    const Qt::WindowFlags box = MessageBoxService::kWindowFlags;
    EXPECT_TRUE(box.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(box.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(box.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(box.testFlag(Qt::WindowMaximizeButtonHint));
}

struct StateRequest {
    const char* name;
    Qt::WindowState state;
    bool throughNativeWindow; // as Qt's own Wayland title bar asks, past the widget
};

void PrintTo(const StateRequest& r, std::ostream* os) { *os << r.name; }

class OversizedTest : public ::testing::TestWithParam<StateRequest> {};

TEST_P(OversizedTest, LeavesTheWindowAsItWas)
{
    const StateRequest& r = GetParam();
    Harness h;
    h.Type(h.window->txtLngD, "79");
    h.Press();
    const QString result = h.Result();
    const QSize size = h.window->size();

    if (r.throughNativeWindow) {
        h.window->windowHandle()->setWindowState(r.state);
    } else {
        h.window->setWindowState(r.state);
    }
    QTest::qWait(20); // what the platform reports back arrives later

    EXPECT_EQ(h.window->windowState() & kOversized, Qt::WindowNoState);
    EXPECT_EQ(h.window->windowHandle()->windowStates() & kOversized, Qt::WindowNoState);
    EXPECT_EQ(h.window->size(), size);
    EXPECT_EQ(h.window->minimumSize(), size); // still fixed
    EXPECT_EQ(h.window->maximumSize(), size);
    EXPECT_TRUE(h.window->isVisible());
    EXPECT_EQ(h.window->txtLngD->text(), "79 ");
    EXPECT_EQ(h.Result(), result);
    EXPECT_TRUE(h.messages.prompts.empty());
}

INSTANTIATE_TEST_SUITE_P(Requests, OversizedTest,
                         ::testing::Values(StateRequest{"Maximised", Qt::WindowMaximized, false},
                                           StateRequest{"FullScreen", Qt::WindowFullScreen, false},
                                           StateRequest{"MaximisedByTitleBar", Qt::WindowMaximized, true},
                                           StateRequest{"FullScreenByTitleBar", Qt::WindowFullScreen, true}),
                         [](const ::testing::TestParamInfo<StateRequest>& p) { return std::string(p.param.name); });

TEST(WindowStates, TheWindowMayBeMinimised)
{
    Harness h;
    h.window->setWindowState(Qt::WindowMinimized);
    QTest::qWait(20);
    EXPECT_TRUE(h.window->windowState().testFlag(Qt::WindowMinimized));
}

// Runs check on the real message box while it is shown, then dismisses it with OK.
void WhileShown(const std::function<void(QMessageBox&)>& check)
{
    QWidget owner;
    MessageBoxService service(&owner);
    bool checked = false;
    QTimer shown;
    QTimer dismiss;
    shown.setSingleShot(true);
    dismiss.setSingleShot(true);
    QObject::connect(&shown, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        check(*box);
        checked = true;
        QObject::connect(&dismiss, &QTimer::timeout, box, [box] { box->button(QMessageBox::Ok)->click(); });
        dismiss.start(20);
    });
    shown.start(0);
    service.ShowMessage("Type only Numbers");
    EXPECT_TRUE(checked);
}

TEST(MessageBox, IsWideEnoughForItsWholeTitle)
{
    WhileShown([](QMessageBox& box) {
        EXPECT_EQ(box.windowTitle(), "VantorilTime");
        EXPECT_EQ(box.text(), "Type only Numbers");
        EXPECT_TRUE(box.isModal());
        QFont bold = box.font();
        bold.setBold(true);
        EXPECT_GE(box.width(), MessageBoxService::MinimumWidth(bold));
        EXPECT_GE(MessageBoxService::MinimumWidth(bold), QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 150);
    });
}

TEST(MessageBox, IsAModalAlertToScreenReaders)
{
    WhileShown([](QMessageBox& box) {
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(&box);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->role(), QAccessible::AlertMessage);
        EXPECT_EQ(a->text(QAccessible::Name), "VantorilTime");
        EXPECT_TRUE(a->state().modal);
        for (int i = 0; i < a->childCount(); ++i) {
            QAccessibleInterface* part = a->child(i);
            ASSERT_NE(part, nullptr);
            EXPECT_EQ(a->indexOfChild(part), i);
            // Every part says something or holds something: no empty icon place.
            EXPECT_TRUE(!part->text(QAccessible::Name).isEmpty() || part->childCount() > 0)
                << part->object()->objectName().toStdString();
        }
    });
}

TEST(MessageBox, StaysAsItIsWhateverIsAsked)
{
    for (const Qt::WindowState state : {Qt::WindowMaximized, Qt::WindowFullScreen, Qt::WindowMinimized}) {
        WhileShown([state](QMessageBox& box) {
            const QSize size = box.size();
            box.windowHandle()->setWindowState(state);
            QTest::qWait(20);
            EXPECT_EQ(box.windowHandle()->windowStates() & (kOversized | Qt::WindowMinimized), Qt::WindowNoState)
                << state;
            EXPECT_EQ(box.size(), size) << state;
            EXPECT_TRUE(box.isVisible()) << state;
        });
    }
}

// Its window activated while it is open (a click on it, a task bar): the
// box comes back in front with the keyboard, and stays over its window.
TEST(MessageBox, ComesBackInFrontWhenItsWindowIsActivated)
{
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    MessageBoxService service(&owner);
    std::vector<QWindow*> focused;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &owner,
                     [&focused](QWindow* w) { focused.push_back(w); });
    bool checked = false;
    // A timer object rather than singleShot's functor form, which static
    // analysis takes for a leak.
    QTimer once;
    once.setSingleShot(true);
    QObject::connect(&once, &QTimer::timeout, &owner, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->windowHandle()->transientParent(), owner.windowHandle());
        const auto boxFocused = [box] { return QGuiApplication::focusWindow() == box->windowHandle(); };
        ASSERT_TRUE(QTest::qWaitFor(boxFocused, 2000));
        focused.clear();
        owner.windowHandle()->requestActivate();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !focused.empty() && boxFocused(); }, 2000));
        ASSERT_FALSE(focused.empty());
        EXPECT_EQ(focused.front(), owner.windowHandle()); // the window did get it first
        checked = true;
        box->button(QMessageBox::Ok)->click();
    });
    once.start(0);
    service.ShowMessage("Type only Numbers");
    EXPECT_TRUE(checked);
}

} // namespace
} // namespace vantoril::testing
