// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#pragma once

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mrb::test
{

// Makes a FIFO at path and reads it from another thread until its writer
// closes it, as the reader of a pipe does.
class FifoReader
{
public:
    explicit FifoReader(std::string path)
        : m_path(std::move(path))
    {
        ::mkfifo(m_path.c_str(), 0666);
        // A second reader that reads nothing: it keeps the FIFO itself at hand
        // even when something else takes its name.
        m_anchor = ::open(m_path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        m_thread = std::thread([this] {
            const int fd = ::open(fifo().c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) {
                m_done = true;
                return;
            }
            char buffer[4096];
            ssize_t got = 0;
            while ((got = ::read(fd, buffer, sizeof buffer)) > 0)
                m_bytes.append(buffer, static_cast<std::size_t>(got));
            ::close(fd);
            m_done = true;
        });
    }
    ~FifoReader() { bytes(); }
    FifoReader(const FifoReader &) = delete;
    FifoReader &operator=(const FifoReader &) = delete;

    // What arrived, once the writer has closed the FIFO (a reader nobody
    // wrote to is let go with what there is).
    const std::string &bytes()
    {
        if (m_thread.joinable()) {
            // Releases the reader should it wait (or come to wait) for a
            // writer in open(): a writer that opens and closes at once.
            while (!m_done) {
                const int fd = ::open(fifo().c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            m_thread.join();
            ::close(m_anchor);
        }
        return m_bytes;
    }

private:
    std::string fifo() const { return "/proc/self/fd/" + std::to_string(m_anchor); }

    std::string m_path;
    std::string m_bytes;
    int m_anchor = -1;
    std::atomic<bool> m_done {false};
    std::thread m_thread;
};

} // namespace mrb::test
