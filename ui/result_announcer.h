// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QLineEdit;

namespace vantoril {

// Tells a screen reader the result a press has just shown. Readers speak a
// changed text only where the user stands, and after PRESS that is the
// button, not the result box.
// With Qt 6.8 and later the result is announced as such. Before, this object
// stands for a notification that appears with the result as its name, which
// readers speak wherever the focus is.
class ResultAnnouncer final : public QObject {
    Q_OBJECT

public:
    explicit ResultAnnouncer(const QLineEdit& result, QObject* parent = nullptr);

    // Announces the result box's text once.
    void Announce();

    // What the last announcement said.
    [[nodiscard]] const QString& Said() const { return said_; }

signals:
    // Sent with each announcement, for whoever else follows them.
    void Announced(const QString& text);

private:
    const QLineEdit& result_;
    QString said_;
};

} // namespace vantoril
