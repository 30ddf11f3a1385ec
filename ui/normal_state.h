// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace vantoril {

// Keeps a fixed-size top-level window out of the maximised and full-screen
// states, whoever asks for them: a title-bar button that Qt draws itself
// (Wayland, where the button is there whatever the window's flags say), a
// window manager or the compositor; and at its own size whatever size they
// offer. Call it once the window is shown (it watches the native window);
// calling it again does nothing more.
//
// With Minimised::Refused, minimising is undone as well (message boxes: a
// minimised modal box would leave the window blocked with nothing to click).
// Wayland has no request that brings a minimised window back, so there the
// window is hidden and kKeptReshow set on it: the caller shows it again.
enum class Minimised { Allowed, Refused };
inline constexpr char kKeptReshow[] = "vantorilReshow";
void KeepNormalState(QWidget& window, Minimised minimised = Minimised::Allowed);

} // namespace vantoril
