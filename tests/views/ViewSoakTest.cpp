// A seeded soak of random window messages against both views (keys, characters, GBK pairs, the mouse
// anywhere, the wheel, scroll bars, edit commands, the find dialog, "Find Title", resizes). After every
// step the selection, the character boundaries and the line table must hold; every stretch of edits
// must undo to its first text and redo to its last. TESSOLIN_SOAK_STEPS and TESSOLIN_SOAK_SEED set the
// length and the seed (scripts/soak.sh); TESSOLIN_SOAK_HIDDEN=1 hides the main window (no painting).
#include "ViewFixture.h"

#include <cstdlib>
#include <random>

#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
using ViewSoak = ViewFixture;

long EnvNumber(const char* name, long fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != 0 ? std::atol(value) : fallback;
}

// Whether pos falls between the two bytes of a character: an odd run of high bytes ends right before it.
bool InsidePair(const std::string& text, int pos) {
    int run = 0;
    for (int i = pos - 1; i >= 0 && ((unsigned char)text[(size_t)i] & 0x80) != 0; --i) ++run;
    return run % 2 == 1;
}

class CRandomInput {
public:
    CRandomInput(CEditScrollView* view, unsigned seed) : m_view(view), m_random(seed) {}

    // One random step; the most undo records it may have made (a typed byte makes one).
    int Step() {
        static const UINT keys[] = {VK_LEFT, VK_RIGHT, VK_UP,  VK_DOWN,   VK_HOME,   VK_END,    VK_PRIOR,
                                    VK_NEXT, VK_BACK,  VK_TAB, VK_RETURN, VK_DELETE, VK_INSERT, 'A'};
        static const UINT commands[] = {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_SELECTALL};
        static const char* const titles[] = {"LINE", "| 3", "nothing here| 9", "", "\xB5\xDA| 1", " "};
        switch (Pick(14)) {
        case 0:
        case 1: {
            UINT key = keys[Pick(14)];
            bool control = Pick(3) == 0;
            Key(key, control, Pick(3) == 0);
            return 1;
        }
        case 2:
        case 3:
            return Characters();
        case 4: // a GB2312 character
            m_view->SendMessage(WM_IME_CHAR, (0xB0 + Pick(0x48)) << 8 | (0xA1 + Pick(0x5E)), 1);
            return 1;
        case 5:
            return Mouse();
        case 6:
            m_view->SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, (short)(Pick(2) ? 120 : -120) * (1 + Pick(3))),
                                MAKELPARAM(Pick(800), Pick(600)));
            return 0;
        case 7:
            m_view->SendMessage(Pick(2) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(Pick(9), Pick(70000) - 1000),
                                0);
            return 0;
        case 8:
            m_view->SendMessage(WM_COMMAND, commands[Pick(4)], 0);
            return 1;
        case 9: {
            UINT chapter = Pick(2) ? Pick(100) : 0xFFFFFFFFu;
            const char* title = Pick(8) == 0 ? nullptr : titles[Pick(6)];
            m_view->SendMessage(HostMessage(kMsgFindTitle), chapter, (LPARAM)title);
            return 0;
        }
        case 10:
            m_view->GetParent()->MoveWindow(0, 0, 40 + Pick(900), 40 + Pick(700));
            return 0;
        case 11: { // as a host would: on character boundaries, out of range now and then
            std::string text = ViewFixture::Text(m_view);
            int a = Pick(4000) - 100, b = Pick(4000) - 100;
            for (int* pos : {&a, &b})
                if (*pos > 0 && *pos < (int)text.size() && InsidePair(text, *pos)) ++*pos;
            m_view->SetSelection(a, b);
            return 0;
        }
        case 12:
            return Find();
        default:
            Key(Pick(2) ? VK_INSERT : VK_DELETE, Pick(3) == 0, Pick(3) == 0);
            return 1;
        }
    }

private:
    int Pick(int n) { return (int)(m_random() % (unsigned)n); }

    // As the keyboard sends it: Shift goes down before the key it modifies (which sets the anchor).
    void Key(UINT key, bool control, bool shift) {
        if (shift) ViewFixture::Key(m_view, VK_SHIFT, control, true);
        ViewFixture::Key(m_view, key, control, shift);
    }

    int Characters() {
        // Overwriting a selection with the caret not at its start may split a pair by design.
        const CTextSelection& sel = m_view->Model().Selection();
        if (m_view->Model().IsOverwrite() && sel.start != sel.end && sel.caret != sel.start)
            m_view->SetSelection(sel.end, sel.start);
        int bytes = 0;
        for (int i = Pick(4); i >= 0; --i) {
            if (Pick(4) == 0) { // a GBK pair, as the keyboard sends it: lead, then trail
                m_view->SendMessage(WM_CHAR, 0x81 + Pick(0x7E), 1);
                m_view->SendMessage(WM_CHAR, 0x80 + Pick(0x7F), 1);
                bytes += 2;
            } else {
                m_view->SendMessage(WM_CHAR, Pick(10) == 0 ? Pick(0x20) : 0x20 + Pick(0x5F), 1);
                ++bytes;
            }
        }
        return bytes;
    }

    // The find dialog's buttons and the Find Next command, with ASCII find texts (a search for GBK bytes
    // may by design straddle two characters), case-blind or not. Replace presses come after whatever
    // the other steps did to the selection: only a hit may be replaced, and undo must give back the
    // bytes each replacement took.
    int Find() {
        static const char* const finds[] = {"LINE", "a", " ", "\t", "oVeR", "e", "\n"};
        static const char* const replaces[] = {"", "x", "LINE", "\xB5\xDA", "ab\n"};
        if (m_view->FindReplace().Dialog() == nullptr) m_view->SendMessage(WM_COMMAND, ID_EDIT_REPLACE, 0);
        if (m_view->FindReplace().Dialog() == nullptr || Pick(4) == 0) {
            m_view->SendMessage(WM_COMMAND, ID_EDIT_FINDNEXT, 0);
            return 0;
        }
        const char *find = finds[Pick(7)], *replace = replaces[Pick(5)];
        DWORD flags = FR_DOWN | (Pick(3) == 0 ? FR_WHOLEWORD : 0) | (Pick(2) ? FR_MATCHCASE : 0);
        static const DWORD buttons[] = {0, FR_REPLACE, FR_REPLACEALL};
        DWORD button = buttons[Pick(3)];
        ViewFixture::Notify(m_view, flags | button, find, replace);
        return button != 0 ? 1 : 0;
    }

    int Mouse() {
        static const UINT messages[] = {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
        LPARAM at = MAKELPARAM(Pick(900) - 100, Pick(700) - 100);
        int what = Pick(4);
        WPARAM buttons = what == 2 || (what == 1 && !Pick(2)) ? 0 : MK_LBUTTON;
        m_view->SendMessage(messages[what], buttons | (what == 0 && Pick(3) == 0 ? MK_SHIFT : 0), at);
        if (what == 3) m_view->SendMessage(WM_LBUTTONUP, 0, at);
        return 0;
    }

    CEditScrollView* m_view;
    std::mt19937 m_random;
};

// The selection, the character boundaries and the line table against the text; empty when all hold.
std::string Broken(CEditScrollView* view, const std::string& text) {
    CEditDocument* doc = view->GetEditDocument();
    int last = (int)doc->GetLength() - 1;
    const CTextSelection& sel = view->Model().Selection();
    if (!(0 <= sel.start && sel.start <= sel.end && sel.end <= last))
        return "selection out of order or range";
    for (int pos : {sel.start, sel.end, sel.caret, sel.anchor})
        if (pos < 0 || pos > last || InsidePair(text, pos))
            return "an end, the caret or the anchor outside the text or inside a pair";
    for (size_t i = 0; i <= text.size(); ++i)
        if ((i == text.size() || ((unsigned char)text[i] & 0x80) == 0) && InsidePair(text, (int)i))
            return "half a GBK pair in the text";
    long lines = 1;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' && doc->GetLineOffset(lines++) != (long)i + 1)
            return "a line start differs from the text";
    return doc->GetLineCount() == lines ? "" : "the line count differs from the text";
}

// Undoes until the text is first again (within the undo depth), then redoes as many; empty when the
// texts come back as they were.
std::string ReplayStretch(CEditScrollView* view, const std::string& first, const std::string& last) {
    int undone = 0;
    for (; ViewFixture::Text(view) != first; ++undone) {
        if (!view->GetEditDocument()->CanUndo() || undone == 25)
            return "undoing the stretch does not give its first text back";
        view->SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    }
    for (int i = 0; i < undone; ++i) view->SendMessage(WM_COMMAND, ID_EDIT_REDO, 0);
    return ViewFixture::Text(view) == last ? "" : "redoing the stretch does not give its last text";
}
} // namespace

TEST_F(ViewSoak, RandomInputKeepsEveryInvariantAndEveryStretchReplays) {
    long steps = EnvNumber("TESSOLIN_SOAK_STEPS", 100000);
    unsigned seed = (unsigned)EnvNumber("TESSOLIN_SOAK_SEED", 20261207);
    std::string start;
    for (int i = 0; i < 40; ++i)
        start +=
            "  LINE " + std::to_string(i) + (i % 3 ? " \xB5\xDA\xD2\xBB\xD5\xC2 OVER\n" : "\t'quoted'\n");
    if (EnvNumber("TESSOLIN_SOAK_HIDDEN", 0) != 0) main->ShowWindow(SW_HIDE);
    ForBothViews(start, [&](CEditScrollView* view) {
        CRandomInput input(view, seed);
        std::string stretchFirst = Text(view);
        int records = 0;
        for (long step = 0; step < steps / 2; ++step) {
            records += input.Step();
            std::string text = Text(view);
            ASSERT_EQ(Broken(view, text), "")
                << "step " << step << " of seed " << seed << ", caret " << view->Caret();
            // The documents keep 25 undo records: a stretch ends before it could make more.
            if (records >= 17 || step % 20 == 19) {
                ASSERT_EQ(ReplayStretch(view, stretchFirst, text), "") << "stretch ending at step " << step;
                // A pair typed as two characters is two undo records, and redoing the second puts the
                // caret where that byte was inserted, between the two: the user's next click moves it.
                if (InsidePair(text, view->Caret())) view->SetSelection(view->Caret() + 1, view->Caret() + 1);
                ASSERT_EQ(Broken(view, text), "")
                    << "after the replay of the stretch ending at step " << step;
                stretchFirst = text;
                records = 0;
            }
            if (step % 64 == 0) Pump();
            if (view->GetEditDocument()->GetLength() > 20000) { // pastes double it: start the text afresh
                view->SendMessage(WM_COMMAND, ID_EDIT_SELECTALL, 0);
                view->SendMessage(WM_KEYDOWN, VK_DELETE, 1);
                ++records;
            }
        }
        view->GetEditDocument()->SetModifiedFlag(FALSE);
    });
    main->ShowWindow(SW_SHOW);
}
