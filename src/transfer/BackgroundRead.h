#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <thread>

namespace zv {

// Runs `work` on a thread of its own and hands its result to `done` on the user-interface
// thread, unless `context` is gone by then. The thread is detached: a read that hangs on an
// unreachable network mount blocks only itself, never a window or the program's exit.
template<typename Result>
void readInBackground(QObject *context, std::function<Result()> work, std::function<void(Result)> done)
{
    // Lives on the calling thread, so the result is delivered there; deleted after delivery.
    std::shared_ptr<QObject> relay(new QObject, [](QObject *o) { o->deleteLater(); });
    auto guard = std::make_shared<QPointer<QObject>>(context);
    std::thread([relay, work = std::move(work), done = std::move(done), guard]() mutable {
        auto result = std::make_shared<Result>(work());
        QMetaObject::invokeMethod(
            relay.get(),
            [done = std::move(done), result, guard] {
                if (*guard)
                    done(std::move(*result));
            },
            Qt::QueuedConnection);
    }).detach();
}

} // namespace zv
