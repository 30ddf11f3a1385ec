// SPDX-License-Identifier: MIT
#include "ui/message_box.h"

#include "ui/normal_state.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QTimer>

namespace vantoril {

int MessageBoxService::MinimumWidth(const QFont& titleFont)
{
    // Qt's own Wayland title bar centres the title between buttons it draws
    // at either side (three of them, whatever the flags say): room for the
    // whole title and those buttons on both sides.
    constexpr int kButtonsWidth = 3 * 23 + 8;
    return QFontMetrics(titleFont).horizontalAdvance(kTitle) + 2 * kButtonsWidth + 16;
}

void MessageBoxService::ShowMessage(const std::string& prompt)
{
    QMessageBox box(QMessageBox::NoIcon, kTitle, QString::fromStdString(prompt), QMessageBox::Ok, owner_, kWindowFlags);
    box.setObjectName(QStringLiteral("messageBox"));
    // A message box sizes itself from its contents; a spacer across its
    // grid is what makes it wider.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        QFont bold = box.font();
        bold.setBold(true);
        grid->addItem(new QSpacerItem(MinimumWidth(bold), 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    // Shown again when it had to be hidden to undo a minimise; every way of
    // dismissing it (OK, Enter, Escape, close) leaves kKeptReshow unset.
    do {
        box.setProperty(kKeptReshow, false);
        QTimer::singleShot(0, &box, [&box] { KeepNormalState(box, Minimised::Refused); }); // once shown
        box.exec();
    } while (box.property(kKeptReshow).toBool());
}

} // namespace vantoril
