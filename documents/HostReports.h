// Where the documents' and views' reports to the host also go: status texts, loading progress, the
// caret's line and column and a closing document, for hosts that have no status bar of the framework.
#pragma once

// A receiver installed by a layer above; each report goes to it as well as to the framework host's
// windows. The receiver decides which editor window a report belongs to.
class CHostReports {
public:
    virtual ~CHostReports() = default;
    virtual void StatusText(const char* text) = 0;
    virtual void Progress(int percent) = 0;
    virtual void CaretPlace(int line, int column) = 0;
    virtual void Closing() = 0;
};

// The installed receiver, or null; installing null removes it.
void SetHostReports(CHostReports* reports);
CHostReports* GetHostReports();
