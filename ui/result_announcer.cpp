// SPDX-License-Identifier: MIT
#include "ui/result_announcer.h"

#include <QAccessible>
#include <QAccessibleObject>
#include <QLineEdit>
#include <QtGlobal>

namespace vantoril {

namespace {

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
// A notification without a widget: nothing is drawn, and only the reader
// learns that it appeared.
class NotificationAccessible final : public QAccessibleObject {
public:
    explicit NotificationAccessible(ResultAnnouncer* announcer) : QAccessibleObject(announcer) {}

    [[nodiscard]] QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(object()->parent());
    }
    [[nodiscard]] QAccessibleInterface* child(int /*index*/) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface* /*child*/) const override { return -1; }
    [[nodiscard]] QString text(QAccessible::Text t) const override
    {
        return t == QAccessible::Name ? static_cast<const ResultAnnouncer*>(object())->Said() : QString();
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::Notification; }
    [[nodiscard]] QAccessible::State state() const override { return {}; }
};

QAccessibleInterface* NotificationFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String("vantoril::ResultAnnouncer") && object != nullptr) {
        return new NotificationAccessible(static_cast<ResultAnnouncer*>(object));
    }
    return nullptr;
}
#endif

} // namespace

ResultAnnouncer::ResultAnnouncer(const QLineEdit& result, QObject* parent) : QObject(parent), result_(result)
{
#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
    static const bool installed = [] {
        QAccessible::installFactory(NotificationFactory);
        return true;
    }();
    (void)installed;
#endif
}

void ResultAnnouncer::Announce()
{
    said_ = result_.text();
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(const_cast<QLineEdit*>(&result_), said_);
#else
    QAccessibleEvent event(this, QAccessible::ObjectShow);
#endif
    QAccessible::updateAccessibility(&event);
    emit Announced(said_);
}

} // namespace vantoril
