#pragma once

#include <functional>

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace setforge {

// Runs `action` on the next modal dialog of type T once it is shown, polling every few
// milliseconds, so a test can drive a dialog that exec() blocks on.
template <typename T> void whenShown(std::function<void(T*)> action, int timeoutMs = 5000)
{
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        *elapsed += 10;
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
        }
    });
    timer->start(10);
}

} // namespace setforge
