// SPDX-License-Identifier: MIT
#include "ui/normal_state.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace vantoril {

namespace {

constexpr Qt::WindowStates kOversized = Qt::WindowMaximized | Qt::WindowFullScreen;

// On Wayland a maximise request is answered by a configure of the maximised
// size, and until the client has shown that state it cannot leave it: a
// surface kept at its fixed size is a protocol error that ends the program,
// and weston ignores a request for the normal state made before. So for a
// maximise the fixed size is let go, the maximised frame shown, and the
// normal state asked for a moment later. Full screen needs no such thing (a
// surface smaller than the output is allowed there, and the compositor
// centres it): its size limits stay in force, so a compositor that reads
// them (KWin) never sees the window resizable or maximisable, and the normal
// state is asked for the same moment later. The size is fixed again as soon
// as the compositor says the window is back in the normal state, whatever
// size it offers then (a tile, the size before, none): limits that stayed
// off would leave the window resizable, and a tiling compositor would tile
// it.
//
// Qt takes the size a configure offers, bounded by the limits in force when
// it applies it; one that came while the size was let go (sway gives a
// floating window back the size of its frame as it leaves full screen) would
// stay. So whenever the window is in the normal state, its limits in force
// and its size another, it takes its own size again, and draws it.
constexpr int kSettleMs = 150;

class NormalStateKeeper final : public QObject {
public:
    NormalStateKeeper(QWidget& widget, QWindow& handle, Minimised minimised)
        : QObject(&handle),
          widget_(&widget),
          handle_(&handle),
          wayland_(QGuiApplication::platformName().startsWith(QLatin1String("wayland"))),
          refused_(minimised == Minimised::Refused ? kOversized | Qt::WindowMinimized : kOversized)
    {
        connect(&handle, &QWindow::windowStateChanged, this, &NormalStateKeeper::StateChanged);
        settle_.setSingleShot(true);
        settle_.setInterval(kSettleMs);
        connect(&settle_, &QTimer::timeout, this, &NormalStateKeeper::PutBack);
        showAgain_.setSingleShot(true);
        showAgain_.setInterval(0);
        connect(&showAgain_, &QTimer::timeout, this, &NormalStateKeeper::HideForShowingAgain);
        ownSize_.setSingleShot(true);
        ownSize_.setInterval(0);
        connect(&ownSize_, &QTimer::timeout, this, &NormalStateKeeper::TakeOwnSize);
        handle.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != handle_) return false;
        // Spontaneous: the window system's own word on the state, which on
        // Wayland comes with every configure, already acknowledged by now.
        if (event->type() == QEvent::WindowStateChange && event->spontaneous()) Configured();
        // Later: the widget takes the new size only after this event.
        if (event->type() == QEvent::Resize) ownSize_.start();
        return false;
    }

private:
    void StateChanged()
    {
        if (widget_ == nullptr) return;
        if (wayland_ && refused_.testFlag(Qt::WindowMinimized) &&
            handle_->windowStates().testFlag(Qt::WindowMinimized)) {
            // Nothing brings it back but being shown anew; later, out of the
            // decoration's own click handling.
            showAgain_.start();
            return;
        }
        if ((handle_->windowStates() & refused_) == 0) return;
        if (!wayland_) {
            PutBack();
            return;
        }
        if (!released_ && handle_->windowStates().testFlag(Qt::WindowMaximized)) {
            released_ = true;
            minimum_ = widget_->minimumSize();
            maximum_ = widget_->maximumSize();
            widget_->setMinimumSize(0, 0);
            widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        if (!settle_.isActive()) settle_.start();
    }

    void Configured()
    {
        if (widget_ == nullptr) return;
        if ((handle_->windowStates() & kOversized) != 0) {
            oversizedByCompositor_ = true;
        } else if (released_ && (oversizedByCompositor_ || askedNormal_)) {
            Fix();
        }
        // A state acknowledged applies with the next commit, and without a
        // new frame some compositors (KWin) never show it: draw one.
        widget_->update();
    }

    void Fix()
    {
        settle_.stop();
        released_ = oversizedByCompositor_ = askedNormal_ = false;
        widget_->setMinimumSize(minimum_);
        widget_->setMaximumSize(maximum_);
    }

    void TakeOwnSize()
    {
        if (widget_ == nullptr || released_ || (handle_->windowStates() & kOversized) != 0) return;
        const QSize own = widget_->minimumSize();
        if (own != widget_->maximumSize() || widget_->size() == own) return;
        widget_->resize(own);
        widget_->update();
    }

    void HideForShowingAgain()
    {
        if (widget_ == nullptr) return;
        widget_->setProperty(kKeptReshow, true);
        widget_->hide();
    }

    void PutBack()
    {
        askedNormal_ = released_;
        // The widget's own record of its state as well as the native window's.
        if (widget_ != nullptr && (widget_->windowState() & refused_) != 0) {
            widget_->setWindowState(widget_->windowState() & ~refused_);
        }
        if ((handle_->windowStates() & refused_) != 0) handle_->setWindowStates(handle_->windowStates() & ~refused_);
    }

    QPointer<QWidget> widget_;
    QWindow* handle_;
    const bool wayland_;
    const Qt::WindowStates refused_;
    QSize minimum_, maximum_; // the fixed size while it is let go
    QTimer settle_;           // the normal state asked for a moment after a maximise
    QTimer showAgain_;        // out of the decoration's own click handling
    QTimer ownSize_;          // the own size again, once a resize has reached the widget
    bool released_ = false;
    bool oversizedByCompositor_ = false; // since the size was let go
    bool askedNormal_ = false;
};

} // namespace

void KeepNormalState(QWidget& window, Minimised minimised)
{
    // Scaled by a fraction (QT_SCALE_FACTOR=1.5), Qt asks X11 window managers
    // to size the window in steps of two device pixels from a base size it
    // rounds apart from the limits (323 x 1.5 = 484.5: limits 485, base -2),
    // so a window manager that keeps to the steps picks 486. With the base
    // size at the fixed size, rounded as the limits are, the steps lead to
    // the limits.
    if (window.minimumSize() == window.maximumSize()) window.setBaseSize(window.minimumSize());
    static constexpr char kKept[] = "vantorilKeepsNormalState";
    QWindow* handle = window.windowHandle();
    if (handle == nullptr || handle->property(kKept).toBool()) return;
    handle->setProperty(kKept, true);
    new NormalStateKeeper(window, *handle, minimised); // owned by the native window
}

} // namespace vantoril
