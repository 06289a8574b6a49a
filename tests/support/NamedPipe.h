#pragma once
// A named pipe where a file is expected, made so that a test cannot hang on
// it: a program that opens the pipe for reading waits until something opens
// it for writing. After `patienceMs` this does so, again and again until the
// pipe goes away, and so ends any such wait (the reader then finds the pipe
// empty). A test measures how long the program took, and fails when it
// waited at all.
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

class NamedPipe {
public:
    NamedPipe(const QString &path, int patienceMs = 3000) : m_path(QFile::encodeName(path))
    {
        m_made = ::mkfifo(m_path.constData(), 0600) == 0;
        m_releaser = std::thread([this, patienceMs] {
            const auto start = std::chrono::steady_clock::now();
            while (!m_done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (std::chrono::steady_clock::now() - start < std::chrono::milliseconds(patienceMs))
                    continue;
                // Fails at once while nobody reads; ends the wait of a reader.
                const int fd = ::open(m_path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0)
                    ::close(fd);
            }
        });
    }
    ~NamedPipe()
    {
        m_done = true;
        m_releaser.join();
        ::unlink(m_path.constData());
    }
    NamedPipe(const NamedPipe &) = delete;
    NamedPipe &operator=(const NamedPipe &) = delete;

    bool made() const { return m_made; }

private:
    QByteArray m_path;
    bool m_made = false;
    std::atomic<bool> m_done{false};
    std::thread m_releaser;
};
