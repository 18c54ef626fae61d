// Unblocks a job that would wait for a writer of a FIFO, so that a job that
// fails to refuse one ends its test with a failure instead of hanging it.
// FIFOs are a POSIX file type; Windows has none in its file system.
#pragma once

#ifndef _WIN32

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace tessel::test {

class FifoWatchdog {
  public:
    explicit FifoWatchdog(std::string fifo)
        : thread_([this, fifo = std::move(fifo)] {
              for (int i = 0; i < 200 && !done_; ++i) {
                  std::this_thread::sleep_for(std::chrono::milliseconds(50));
              }
              if (done_) return;
              fired_ = true;
              int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
              if (fd >= 0) ::close(fd);
          }) {}
    ~FifoWatchdog() {
        done_ = true;
        thread_.join();
    }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // True when the job waited so long that the watchdog had to open the FIFO.
    bool fired() const { return fired_; }

  private:
    std::atomic<bool> done_{false};
    std::atomic<bool> fired_{false};
    std::thread thread_;
};

}  // namespace tessel::test

#endif  // !_WIN32
