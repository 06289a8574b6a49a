#pragma once
// A clock for the database's waits for a lock that moves on by a fixed step
// at every reading: a wait lasts as long by it however busy the machine is,
// so tests assert how long the program waited without racing a real clock.
#include "platform/db/ClinicDb.h"

#include <QtGlobal>

class SteppingWaitClock {
public:
    explicit SteppingWaitClock(qint64 stepMs = 50) : m_step(stepMs)
    {
        ClinicDb::setWaitClock([this] { return m_now += m_step; });
    }
    ~SteppingWaitClock() { ClinicDb::setWaitClock({}); }
    SteppingWaitClock(const SteppingWaitClock &) = delete;
    SteppingWaitClock &operator=(const SteppingWaitClock &) = delete;

    /// The time the clock shows now, without moving it on.
    qint64 now() const { return m_now; }

private:
    qint64 m_step;
    qint64 m_now = 0;
};
