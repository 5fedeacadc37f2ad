// The GBK option in real views: on texts rich in characters whose second byte is 0x40-0x7E, every
// walk over the text stops only where the code page's own decoding puts a character boundary.
#include "ViewFixture.h"

#include <random>
#include <set>
#include <vector>

#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
using ViewGbk = ViewFixture;

// A line of characters the code page decodes as pairs (many with a second byte of 0x40-0x7E),
// letters, '@', backslashes, spaces and lone lead bytes (before a byte that is no trail).
std::string Line(std::mt19937& rng, int characters) {
    static const std::vector<std::string> pairs = [] {
        std::vector<std::string> all;
        wchar_t wide[2];
        for (int lead = 0x81; lead <= 0xFE; lead += 7)
            for (int trail : {0x40, 0x41, 0x5C, 0x5F, 0x61, 0x7B, 0x7E, 0x80, 0xA1, 0xFE}) {
                char bytes[2] = {(char)lead, (char)trail};
                if (::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) == 1)
                    all.push_back(std::string(bytes, 2));
            }
        return all;
    }();
    static const char* const singles[] = {"@", "\\", "a", "A", " ", "_", "\xB0 ", "\xC8\x35"};
    std::string line;
    for (int k = 0; k < characters; ++k)
        line += rng() % 3 ? pairs[rng() % pairs.size()] : std::string(singles[rng() % 8]);
    return line;
}

// The character starts of the text and its end, by decoding with the code page.
std::vector<int> Boundaries(const std::string& text) {
    std::vector<int> starts;
    wchar_t wide[2];
    int to = (int)text.size();
    for (int p = 0; p < to;) {
        starts.push_back(p);
        bool pair = p + 1 < to && (unsigned char)text[(size_t)p] >= 0x81 &&
                    ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text.data() + p, 2, wide, 2) == 1;
        p += pair ? 2 : 1;
    }
    starts.push_back(to);
    return starts;
}

// The starts of the hits Find Next selects from the text's start, each once.
std::vector<int> FindAll(CEditScrollView* view, DWORD flags, const char* find) {
    view->SetSelection(0, 0);
    std::vector<int> found;
    for (;;) {
        ViewFixture::Notify(view, FR_DOWN | FR_MATCHCASE | flags, find, "");
        int start = view->Model().Selection().start;
        if ((!found.empty() && start <= found.back()) || start == view->Model().Selection().end) return found;
        found.push_back(start);
    }
}
} // namespace

// The caret keys, Backspace, Delete, hit tests, painted ranges, Find, replace-all, whole words and
// double clicks (which select a word by spaces, line feeds and tabs, none of them ever a second byte).
TEST_F(ViewGbk, EveryWalkOverTheTextStopsOnCharacterBoundaries) {
    std::mt19937 rng(83);
    std::string line = Line(rng, 40) + " @ " + Line(rng, 40) + " @";
    std::vector<int> starts = Boundaries(line);
    std::set<int> boundary(starts.begin(), starts.end());
    std::vector<int> hits, words;
    for (int p = 0; p < (int)line.size(); ++p) {
        if (line[(size_t)p] != '@' || !boundary.count(p)) continue;
        hits.push_back(p);
        if ((p == 0 || line[(size_t)p - 1] == ' ') &&
            (p + 1 == (int)line.size() || line[(size_t)p + 1] == ' '))
            words.push_back(p);
    }
    ASSERT_GT(hits.size(), words.size());
    ForBothViews(line + "\n", [&](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        EXPECT_EQ(FindAll(view, 0, "@"), hits);
        EXPECT_EQ(FindAll(view, FR_WHOLEWORD, "@"), words);
        std::string replaced = line;
        for (int p : hits) replaced[(size_t)p] = '#';
        Notify(view, FR_REPLACEALL | FR_MATCHCASE, "@", "#");
        EXPECT_EQ(Text(view), replaced + "\n");

        view->SetSelection(0, 0);
        std::vector<int> right{0}, left{(int)line.size()};
        for (size_t k = 1; k < starts.size(); ++k) Key(view, VK_RIGHT), right.push_back(view->Caret());
        for (size_t k = 1; k < starts.size(); ++k)
            Key(view, VK_LEFT), left.insert(left.begin(), view->Caret());
        EXPECT_EQ(right, starts);
        EXPECT_EQ(left, starts);

        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin, y = view->Metrics().unit.cy / 2;
        for (int cell = 0; cell < 70; ++cell) {
            SCOPED_TRACE("cell " + std::to_string(cell));
            EXPECT_TRUE(boundary.count(view->SelectionPoint(CPoint(m + cell * cw + cw / 2 + 1, y))));
            CRange range;
            int x = view->GetTextRange(0, m + cell * cw, m + cell * cw + 5 * cw, m, range);
            EXPECT_TRUE(boundary.count(range.first) && boundary.count(range.last));
            EXPECT_EQ(x, m + range.first * cw);
            if (cell % 3 != 0) continue;
            LPARAM at = MAKELPARAM(m + cell * cw + 1, y);
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                view->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
            EXPECT_TRUE(boundary.count(view->Model().Selection().start) &&
                        boundary.count(view->Model().Selection().end));
        }

        // Backspace from the end, Delete from the start: each takes one character of the model.
        view->SetSelection((int)line.size(), (int)line.size());
        for (int k = 0; k < 5; ++k) Key(view, VK_BACK);
        view->SetSelection(0, 0);
        for (int k = 0; k < 5; ++k) Key(view, VK_DELETE);
        int kept = starts[starts.size() - 6];
        EXPECT_EQ(Text(view), replaced.substr((size_t)starts[5], (size_t)(kept - starts[5])) + "\n");
    });
}
