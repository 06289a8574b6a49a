#include "cases/CaseNotifier.h"

CaseNotifier &CaseNotifier::instance()
{
    static CaseNotifier notifier;
    return notifier;
}

void CaseNotifier::changed(qint64 caseNo, const QObject *origin)
{
    emit instance().caseChanged(caseNo, origin);
}
