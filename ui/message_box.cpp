// SPDX-License-Identifier: MIT
#include "ui/message_box.h"

#include <QMessageBox>

namespace vantoril {

void MessageBoxService::ShowMessage(const std::string& prompt)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("VantorilTime"), QString::fromStdString(prompt),
                    QMessageBox::Ok, owner_);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

} // namespace vantoril
