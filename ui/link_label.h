// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>

namespace vantoril {

// A label that acts as a link: a left click (press and release on it)
// emits clicked() once, and screen readers announce it as a link with a
// press action. It never takes the focus.
class LinkLabel : public QLabel {
    Q_OBJECT

public:
    explicit LinkLabel(const QString& text, QWidget* parent = nullptr);

    // Registers the accessibility interface; call once before the first LinkLabel is shown.
    static void InstallAccessibility();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace vantoril
