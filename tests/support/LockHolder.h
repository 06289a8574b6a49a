#pragma once
// Another workstation holding the case register locked (the helper program
// tests/helpers/fw_hold_lock), until release() or the end of the scope, or
// for the milliseconds given. Header only: the helper's path is known to the
// test executables, not to the support library.
#include <QProcess>
#include <QString>
#include <QStringList>

class LockHolder {
public:
    /// mode "write": others may still read; "exclusive": nobody else may.
    LockHolder(const QString &path, const char *mode, int ms = -1)
    {
        QStringList args = {path, QString::fromLatin1(mode)};
        if (ms >= 0)
            args << QString::number(ms);
        m_process.start(QStringLiteral(FW_HELPER_FW_HOLD_LOCK), args);
        m_locked =
            m_process.waitForStarted(10000) && m_process.waitForReadyRead(10000) && m_process.readLine() == "locked\n";
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    bool locked() const { return m_locked; }
    void release()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.write("release\n");
        m_process.waitForBytesWritten(10000);
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    bool m_locked = false;
};
