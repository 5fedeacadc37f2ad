// The demo host's 标题 panel: a list at the frame's left of the active document's chapter headings.
// Choosing one navigates the active view to it as a host does, with "Find Title".
#pragma once

#include <string>
#include <vector>

#include "framework/win/Frame.h"
#include "host/ChapterHeadings.h"

class CDocument;
class CView;

// Navigates view to a title as a host does: "Find Title" with wParam the chapter number (0: no
// fallback chapter) and lParam the title, a separator, a space and the number. Nothing without a view.
void SendFindTitle(CView* view, const std::string& title, unsigned chapter);

class CTitlesPanel : public CWnd {
public:
    enum { kWidth = 190, kMaxHeadings = 2000, kLiveScanLines = 200000 };

    // The panel as the frame's left bar, shown.
    BOOL Create(CFrameWnd* frame);
    // Lists doc's headings (none without an editor document); rescans only when the document, its
    // length or its line count changed since the last call, and for a document of more than
    // kLiveScanLines lines only when another document was followed in between.
    void Follow(CDocument* doc);
    const std::vector<ChapterHeading>& GetHeadings() const { return m_headings; }
    HWND GetList() const { return m_list; }
    // Sends "Find Title" for heading index to the active view: wParam its chapter number, lParam
    // its text, a separator, a space and the number.
    void Choose(int index);

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FillList();

    CFrameWnd* m_frame = nullptr;
    HWND m_caption = nullptr;
    HWND m_list = nullptr;
    std::vector<ChapterHeading> m_headings;
    // What the list was made from: the document and its size then.
    CDocument* m_document = nullptr;
    long m_length = -1;
    long m_lineCount = -1;
};
