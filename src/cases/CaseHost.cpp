#include "cases/CaseHost.h"

namespace {
CaseHost *s_host = nullptr;
}

CaseHost *CaseHost::current()
{
    return s_host;
}

void CaseHost::install(CaseHost *host)
{
    s_host = host;
}

void CaseHost::showGrowthCurve(const CaseFacts &) {}

void CaseHost::showDietCalculator(frmDocument *) {}
