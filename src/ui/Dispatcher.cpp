#include "ui/Dispatcher.h"

#include <QCoreApplication>
#include <QEvent>

#include <chrono>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define QUILLMARSH_PAUSE() _mm_pause()
#else
#define QUILLMARSH_PAUSE() ((void)0)
#endif

namespace quillmarsh {

namespace {

const QEvent::Type kServeEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

using Clock = std::chrono::steady_clock;
// How long the window's thread keeps serving in one go, and how long it waits for the next
// request of a busy worker before it returns to its event loop.
constexpr auto kServeSlice = std::chrono::milliseconds(4);
constexpr auto kLinger = std::chrono::microseconds(30);
// How long a worker watches for its result before it sleeps.
constexpr auto kWorkerSpin = std::chrono::microseconds(50);

} // namespace

Dispatcher::Dispatcher(QObject* parent) : QObject(parent) { }

void Dispatcher::Call(const std::function<void()>& operation)
{
    Request request {&operation};
    bool post = false;
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&request);
        waiting_.fetch_add(1, std::memory_order_release);
        post = !servePosted_;
        servePosted_ = true;
    }
    if (post)
        QCoreApplication::postEvent(this, new QEvent(kServeEvent));
    const auto until = Clock::now() + kWorkerSpin;
    while (!request.done.load(std::memory_order_acquire) && Clock::now() < until)
        QUILLMARSH_PAUSE();
    while (!request.done.load(std::memory_order_acquire))
        request.done.wait(false, std::memory_order_acquire);
}

bool Dispatcher::event(QEvent* event)
{
    if (event->type() != kServeEvent)
        return QObject::event(event);
    Serve();
    return true;
}

void Dispatcher::Serve()
{
    const auto sliceEnd = Clock::now() + kServeSlice;
    while (true) {
        Request* request = nullptr;
        {
            std::lock_guard lock(mutex_);
            if (!queue_.empty()) {
                request = queue_.front();
                queue_.pop_front();
                waiting_.fetch_sub(1, std::memory_order_relaxed);
            }
        }
        if (request) {
            (*request->operation)();
            request->done.store(true, std::memory_order_release);
            request->done.notify_one();
            if (Clock::now() < sliceEnd)
                continue;
        } else {
            // A worker that just got its answer usually asks again within microseconds.
            const auto lingerEnd = std::min(Clock::now() + kLinger, sliceEnd);
            while (waiting_.load(std::memory_order_acquire) == 0 && Clock::now() < lingerEnd)
                QUILLMARSH_PAUSE();
            if (waiting_.load(std::memory_order_acquire) != 0 && Clock::now() < sliceEnd)
                continue;
        }
        // Back to the event loop: come again later if requests are left, else wait to be posted.
        std::lock_guard lock(mutex_);
        if (queue_.empty())
            servePosted_ = false;
        else
            QCoreApplication::postEvent(this, new QEvent(kServeEvent));
        return;
    }
}

} // namespace quillmarsh
