#include "batch_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <exception>
#include <memory>

namespace tessel::desktop {

namespace {

thread_local bool batchWorker = false;

bool onApplicationThread() {
    QCoreApplication* application = QCoreApplication::instance();
    return application != nullptr && QThread::currentThread() == application->thread();
}

}  // namespace

bool onBatchWorkerThread() {
    return batchWorker;
}

void runOnWorkerThread(const std::function<void()>& work) {
    if (!onApplicationThread()) {
        work();
        return;
    }
    std::exception_ptr failure;
    std::unique_ptr<QThread> thread(QThread::create([&work, &failure] {
        batchWorker = true;
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        batchWorker = false;
    }));
    QEventLoop loop;
    // Queued to this thread, so a quick worker's end still reaches the loop.
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit,
                     Qt::QueuedConnection);
    thread->start();
    loop.exec();
    thread->wait();
    if (failure) std::rethrow_exception(failure);
}

void callOnGuiThread(const std::function<void()>& call) {
    if (!batchWorker || onApplicationThread()) {
        call();
        return;
    }
    std::exception_ptr failure;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [&call, &failure] {
            try {
                call();
            } catch (...) {
                failure = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
}

}  // namespace tessel::desktop
