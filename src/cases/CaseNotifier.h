#pragma once
// The one voice that says a case has changed in this program: weighed,
// undone, corrected, edited, activated, inactivated or deleted. Every case
// window listens and shows its case afresh when it is the one that changed,
// so that two windows on one case never disagree; no window calls another's
// reload.
#include <QObject>
#include <QtGlobal>

class CaseNotifier : public QObject {
    Q_OBJECT
public:
    static CaseNotifier &instance();

    /// Say that a case changed. origin is the window that made the change and
    /// already shows it (null when no case window made it).
    static void changed(qint64 caseNo, const QObject *origin = nullptr);

signals:
    void caseChanged(qint64 caseNo, const QObject *origin);

private:
    CaseNotifier() = default;
};
