// The one receiver of the documents' and views' reports beside the framework host's windows.
#include "documents/HostReports.h"

namespace {
CHostReports* g_reports = nullptr;
} // namespace

void SetHostReports(CHostReports* reports) {
    g_reports = reports;
}

CHostReports* GetHostReports() {
    return g_reports;
}
