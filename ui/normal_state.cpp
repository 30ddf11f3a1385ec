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
// and weston ignores a request for the normal state made before. So there
// the fixed size is let go, the maximised frame shown, the normal state
// asked for a moment later, and the size fixed again once the compositor
// has put the window back.
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
        widget.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        // Back at its own size in the normal state: fixed again.
        if (event->type() == QEvent::Resize && released_ && !settle_.isActive() && !Oversized() &&
            widget_->size().expandedTo(minimum_).boundedTo(maximum_) == widget_->size()) {
            released_ = false;
            widget_->setMinimumSize(minimum_);
            widget_->setMaximumSize(maximum_);
        }
        return false;
    }

private:
    [[nodiscard]] bool Oversized() const { return (handle_->windowStates() & kOversized) != 0; }

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
        if (!released_) {
            released_ = true;
            minimum_ = widget_->minimumSize();
            maximum_ = widget_->maximumSize();
            widget_->setMinimumSize(0, 0);
            widget_->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        }
        if (!settle_.isActive()) settle_.start();
    }

    void HideForShowingAgain()
    {
        if (widget_ == nullptr) return;
        widget_->setProperty(kKeptReshow, true);
        widget_->hide();
    }

    void Settled() { PutBack(); }

    void PutBack()
    {
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
    bool released_ = false;
};

} // namespace

void KeepNormalState(QWidget& window, Minimised minimised)
{
    static constexpr char kKept[] = "vantorilKeepsNormalState";
    QWindow* handle = window.windowHandle();
    if (handle == nullptr || handle->property(kKept).toBool()) return;
    handle->setProperty(kKept, true);
    new NormalStateKeeper(window, *handle, minimised); // owned by the native window
}

} // namespace vantoril
