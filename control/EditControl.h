// CEditControl: the "TessolinEdit" window class: one editor document and one editor view inside a
// window any Windows program creates with CreateWindowEx and drives with messages.
#pragma once

#include <windows.h>

#include "control/ControlNotifier.h"
#include "views/EditScrollView.h"

// The window that CreateWindowEx made holds this object in its extra bytes; the view fills its client
// area and takes the keyboard. The document kind is the low two bits of the window style.
//
// Invariants: between WM_CREATE and WM_DESTROY, m_doc and m_view are the editor's document and view
// (the document lists the view); afterwards both are null and every message answers as for an empty,
// read-only editor.
class CEditControl {
public:
    // Registers the class for the module (CS_GLOBALCLASS, so every module of the process can create it).
    static BOOL Register(HINSTANCE instance);
    // Whether the library made the application object (the host is not a framework application).
    static bool OwnsApplication();

    HWND Window() const { return m_hwnd; }
    CEditScrollView* View() const { return m_view; }
    CEditDocument* Document() const { return m_doc; }
    CControlNotifier& Notifier() { return m_notifier; }
    // The document's read-only mode (EM_SETREADONLY sets it; a file that lost characters has it too).
    bool ReadOnly() const { return m_doc == nullptr || m_doc->IsReadOnly(); }
    // Scope bookkeeping: the outermost scope's end tells the parent what changed.
    void EnterScope() { ++m_depth; }
    void LeaveScope();
    // A command of the view (copy, paste, undo, find ...), routed as its menu item would be.
    void Command(UINT id);
    // The view began a print run (the dialog was accepted and the printer is there).
    void PrintStarted() { m_printStarted = true; }

private:
    explicit CEditControl(HWND hwnd) : m_hwnd(hwnd), m_notifier(*this) {}
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    bool Create(const CREATESTRUCTA& cs);
    void Destroy();

    // The system edit control's messages (EditMessages.cpp); false for others.
    bool EditMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT GetText(WPARAM size, char* buffer) const;
    LRESULT TextLength() const;
    bool SetText(const char* text);
    LRESULT ReplaceSelection(const char* text);
    LRESULT LineMessage(UINT message, WPARAM wParam) const;
    LRESULT EditCommand(UINT id, bool changes);
    // The editor's own messages (TessolinMessages.cpp); false for others.
    bool TessolinMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT OpenFile(const char* path);
    LRESULT SaveFile(const char* path);
    LRESULT FindTitle(UINT number, const char* text);
    LRESULT GoToLine(WPARAM line);
    LRESULT FindNext();
    LRESULT AddRule(UINT message, COLORREF color, const char* text);
    LRESULT GetPath(WPARAM size, char* buffer) const;
    LRESULT Option(WPARAM bit, int on);
    LRESULT Print(bool direct);

    HWND m_hwnd;
    CEditDocument* m_doc = nullptr;
    CEditScrollView* m_view = nullptr;
    CControlNotifier m_notifier;
    int m_depth = 0;
    bool m_printStarted = false;
};
