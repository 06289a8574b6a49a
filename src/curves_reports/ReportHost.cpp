#include "curves_reports/ReportHost.h"

namespace {
ReportHost *s_host = nullptr;
}

ReportHost *ReportHost::current()
{
    return s_host;
}

void ReportHost::install(ReportHost *host)
{
    s_host = host;
}
