// The GBK option in real views: on texts rich in characters whose second byte is 0x40-0x7E, every
// walk over the text stops only where the code page's own decoding puts a character boundary.
#include "ViewFixture.h"

#include <functional>
#include <random>
#include <set>
#include <vector>

#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
class ViewGbk : public ViewFixture {
protected:
    // A line of characters the code page decodes as pairs (many with a second byte of 0x40-0x7E),
    // letters, '@', backslashes, spaces and lone lead bytes (before a byte that is no trail).
    static std::string Line(std::mt19937& rng, int characters) {
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
        static const char* const singles[] = {"@",
                                              "\\",
                                              "a",
                                              "A",
                                              " ",
                                              "_",
                                              "\xB0 ",
                                              "\xC8"
                                              "5"};
        std::string line;
        for (int k = 0; k < characters; ++k)
            line += rng() % 3 ? pairs[rng() % pairs.size()] : std::string(singles[rng() % 8]);
        return line;
    }
    // The character starts of the line and its end, by decoding with the code page.
    static std::vector<int> Boundaries(const std::string& text) {
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
    // check on both views of line with the GBK option on, given the line's character starts.
    void ForBothGbkViews(const std::string& line,
                         const std::function<void(CEditScrollView*, const std::set<int>&)>& check) {
        std::vector<int> starts = Boundaries(line);
        std::set<int> boundary(starts.begin(), starts.end());
        ForBothViews(line + "\n", [&](CEditScrollView* view) {
            view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
            check(view, boundary);
        });
    }
    // The starts of the hits Find Next selects from the text's start, each once.
    static std::vector<int> FindAll(CEditScrollView* view, DWORD flags, const char* find) {
        view->SetSelection(0, 0);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        std::vector<int> found;
        for (;;) {
            Notify(view, FR_DOWN | FR_MATCHCASE | flags, find, "");
            int start = view->Model().Selection().start;
            if ((!found.empty() && start <= found.back()) || start == view->Model().Selection().end) break;
            found.push_back(start);
        }
        return found;
    }
};
} // namespace

TEST_F(ViewGbk, CaretKeysBackspaceAndDeleteStepWholeCharacters) {
    std::mt19937 rng(81);
    std::string line = Line(rng, 60);
    std::vector<int> starts = Boundaries(line);
    ForBothGbkViews(line, [&](CEditScrollView* view, const std::set<int>&) {
        view->SetSelection(0, 0);
        std::vector<int> right{0}, left{(int)line.size()};
        for (size_t k = 1; k < starts.size(); ++k) {
            Key(view, VK_RIGHT);
            right.push_back(view->Caret());
        }
        for (size_t k = 1; k < starts.size(); ++k) {
            Key(view, VK_LEFT);
            left.insert(left.begin(), view->Caret());
        }
        EXPECT_EQ(right, starts);
        EXPECT_EQ(left, starts);
        // Backspace from the end, Delete from the start: each takes one character of the model.
        view->SetSelection((int)line.size(), (int)line.size());
        for (int k = 0; k < 5; ++k) Key(view, VK_BACK);
        view->SetSelection(0, 0);
        for (int k = 0; k < 5; ++k) Key(view, VK_DELETE);
        int kept = starts[starts.size() - 6];
        EXPECT_EQ(Text(view), line.substr((size_t)starts[5], (size_t)(kept - starts[5])) + "\n");
    });
}

TEST_F(ViewGbk, HitTestsAndPaintedRangesCutAtCharacterBoundaries) {
    std::mt19937 rng(82);
    std::string line = Line(rng, 50);
    ForBothGbkViews(line, [&](CEditScrollView* view, const std::set<int>& boundary) {
        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin, y = view->Metrics().unit.cy / 2;
        for (int cell = 0; cell < (int)line.size(); ++cell) {
            SCOPED_TRACE("cell " + std::to_string(cell));
            EXPECT_TRUE(boundary.count(view->SelectionPoint(CPoint(m + cell * cw + cw / 2 + 1, y))));
            CRange range;
            int x = view->GetTextRange(0, m + cell * cw, m + cell * cw + 5 * cw, m, range);
            EXPECT_TRUE(boundary.count(range.first) && boundary.count(range.last));
            EXPECT_EQ(x, m + range.first * cw);
        }
    });
}

// Find, replace-all and a whole-word search take only hits on boundaries. A double click selects a word
// by spaces, line feeds and tabs, none of which is ever a second byte: its ends are boundaries.
TEST_F(ViewGbk, FindReplaceAllWholeWordsAndDoubleClicksStayOnCharacterBoundaries) {
    std::mt19937 rng(83);
    std::string line = Line(rng, 40) + " @ " + Line(rng, 40) + " @";
    ForBothGbkViews(line, [&](CEditScrollView* view, const std::set<int>& boundary) {
        std::vector<int> hits, words;
        for (int p = 0; p < (int)line.size(); ++p) {
            if (line[(size_t)p] != '@' || !boundary.count(p)) continue;
            hits.push_back(p);
            if ((p == 0 || line[(size_t)p - 1] == ' ') &&
                (p + 1 == (int)line.size() || line[(size_t)p + 1] == ' '))
                words.push_back(p);
        }
        ASSERT_GT(hits.size(), words.size());
        EXPECT_EQ(FindAll(view, 0, "@"), hits);
        EXPECT_EQ(FindAll(view, FR_WHOLEWORD, "@"), words);
        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin, y = view->Metrics().unit.cy / 2;
        for (int cell = 0; cell < 70; cell += 3) {
            LPARAM at = MAKELPARAM(m + cell * cw + 1, y);
            for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
                view->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
            EXPECT_TRUE(boundary.count(view->Model().Selection().start)) << "cell " << cell;
            EXPECT_TRUE(boundary.count(view->Model().Selection().end)) << "cell " << cell;
        }
        std::string replaced = line;
        for (int p : hits) replaced[(size_t)p] = '#';
        Notify(view, FR_REPLACEALL | FR_MATCHCASE, "@", "#");
        EXPECT_EQ(Text(view), replaced + "\n");
    });
}
