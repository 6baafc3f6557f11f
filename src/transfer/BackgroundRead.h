#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zv {

// Where results of background reads go: a window on the user-interface thread. The window
// closes the channel when it goes, and results that come later are dropped.
class ResultChannel {
public:
    explicit ResultChannel(QObject *target)
        : m_target(target)
    { }
    void close()
    {
        std::lock_guard lock(m_mutex);
        m_target = nullptr;
    }
    template <typename F>
    void post(F &&call)
    {
        // Held while posting, so the target cannot be destroyed under the call.
        std::lock_guard lock(m_mutex);
        if (m_target)
            QMetaObject::invokeMethod(m_target, std::forward<F>(call), Qt::QueuedConnection);
    }

private:
    std::mutex m_mutex;
    QObject *m_target;
};

// Runs `work` on a thread of its own and hands its result to `done` on the channel's thread.
// The thread is detached: a read that hangs on an unreachable network mount blocks only
// itself, never a window or the program's exit.
template <typename Result>
void readInBackground(std::shared_ptr<ResultChannel> channel, std::function<Result()> work,
                      std::function<void(Result)> done)
{
    std::thread([channel = std::move(channel), work = std::move(work), done = std::move(done)]() mutable {
        auto result = std::make_shared<Result>(work());
        channel->post([done = std::move(done), result] { done(std::move(*result)); });
    }).detach();
}

} // namespace zv
