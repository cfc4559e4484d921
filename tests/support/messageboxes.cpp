#include "messageboxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

namespace MessageBoxes {

namespace {

void poll(
    std::function<bool()> ready, std::function<void()> action, std::shared_ptr<QElapsedTimer> clock)
{
    QTimer::singleShot(0, [ready, action, clock] {
        if (ready() || clock->elapsed() > 5000)
            return action();
        poll(ready, action, clock);
    });
}

} // namespace

void whenReady(std::function<bool()> ready, std::function<void()> action)
{
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    poll(std::move(ready), std::move(action), std::move(clock));
}

std::shared_ptr<SeenBox> closeNext()
{
    auto seen = std::make_shared<SeenBox>();
    std::weak_ptr<SeenBox> wanted = seen;
    whenReady(
        [wanted] {
            return wanted.expired()
                || qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        },
        [wanted] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            const auto seen = wanted.lock();
            if (!box || !seen)
                return;
            *seen
                = {true, box->icon(), box->windowTitle(), box->text(), int(box->buttons().size())};
            box->accept();
        });
    return seen;
}

} // namespace MessageBoxes
