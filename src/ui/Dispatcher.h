#pragma once

#include <QObject>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>

namespace quillmarsh {

// Carries out operations of worker threads on the window's thread, one at a time, while each
// worker waits for its own. The window's thread serves them as an event, so never inside another
// handler, and in the order they were asked for.
//
// A collection asks for a dozen operations per resume in quick succession, so once woken the
// window's thread keeps serving for a short while (never longer than a few milliseconds at a
// time, so the window stays responsive), and a worker waits briefly before it sleeps: most
// operations then cost no thread wake-up at all.
class Dispatcher final : public QObject {
public:
    explicit Dispatcher(QObject* parent = nullptr);

    // From a worker: runs `operation` on the window's thread and returns when it has run.
    void Call(const std::function<void()>& operation);

protected:
    bool event(QEvent* event) override;

private:
    struct Request {
        const std::function<void()>* operation;
        std::atomic<bool> done {false};
    };

    void Serve();

    std::mutex mutex_;
    std::deque<Request*> queue_;
    std::atomic<std::size_t> waiting_ {0};
    bool servePosted_ = false; // an event to serve the queue is on its way
};

} // namespace quillmarsh
