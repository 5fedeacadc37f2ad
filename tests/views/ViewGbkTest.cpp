// The GBK option in real views: on texts rich in characters whose second byte is 0x40-0x7E, every
// walk over the text stops only where the code page's own decoding puts a character boundary.
#include "ViewFixture.h"

#include <random>
#include <set>
#include <vector>

#include "documents/HostMessages.h"
#include "framework/win/FindReplaceDialog.h"

namespace {
class ViewGbk : public ViewFixture {
protected:
    // The characters of the model: the code page decodes each pair to one character.
    static std::vector<std::string> Pairs() {
        std::vector<std::string> pairs;
        for (int lead = 0x81; lead <= 0xFE; lead += 7) {
            for (int trail : {0x40, 0x41, 0x5C, 0x5F, 0x61, 0x7B, 0x7E, 0x80, 0xA1, 0xFE}) {
                char bytes[2] = {(char)lead, (char)trail};
                wchar_t wide[2];
                if (::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, bytes, 2, wide, 2) == 1)
                    pairs.push_back(std::string(bytes, 2));
            }
        }
        return pairs;
    }
    // A line of pairs, letters, '@', backslashes, spaces and lone lead bytes.
    static std::string Line(std::mt19937& rng, int characters) {
        static const std::vector<std::string> pairs = Pairs();
        // A lead byte before a byte that is no trail stands alone.
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
    // The character starts of bytes [from, to), by decoding with the code page.
    static std::vector<int> Boundaries(const std::string& text, int from, int to) {
        std::vector<int> starts;
        wchar_t wide[2];
        for (int p = from; p < to;) {
            starts.push_back(p);
            bool pair = p + 1 < to &&
                        ::MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text.data() + p, 2, wide, 2) == 1 &&
                        (unsigned char)text[(size_t)p] >= 0x81;
            p += pair ? 2 : 1;
        }
        starts.push_back(to);
        return starts;
    }
};
} // namespace

TEST_F(ViewGbk, CaretKeysBackspaceAndDeleteStepWholeCharacters) {
    std::mt19937 rng(81);
    std::string line = Line(rng, 60);
    ForBothViews(line + "\n", [&](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        std::vector<int> starts = Boundaries(line, 0, (int)line.size());
        view->SetSelection(0, 0);
        std::vector<int> right{0}, left;
        for (size_t k = 1; k < starts.size(); ++k) {
            Key(view, VK_RIGHT);
            right.push_back(view->Caret());
        }
        EXPECT_EQ(right, starts);
        for (size_t k = 1; k < starts.size(); ++k) {
            Key(view, VK_LEFT);
            left.insert(left.begin(), view->Caret());
        }
        left.push_back((int)line.size());
        EXPECT_EQ(left, starts);
        // Backspace from the end, Delete from the start: each takes one character of the model.
        view->SetSelection((int)line.size(), (int)line.size());
        for (int k = 0; k < 5; ++k) Key(view, VK_BACK);
        int kept = starts[starts.size() - 6];
        EXPECT_EQ(Text(view), line.substr(0, (size_t)kept) + "\n");
        view->SetSelection(0, 0);
        for (int k = 0; k < 5; ++k) Key(view, VK_DELETE);
        EXPECT_EQ(Text(view), line.substr((size_t)starts[5], (size_t)(kept - starts[5])) + "\n");
        EXPECT_TRUE(view->GetEditDocument()->IsModified());
    });
}

TEST_F(ViewGbk, HitTestsAndPaintedRangesCutAtCharacterBoundaries) {
    std::mt19937 rng(82);
    std::string line = Line(rng, 50);
    ForBothViews(line + "\n", [&](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        std::vector<int> starts = Boundaries(line, 0, (int)line.size());
        std::set<int> boundary(starts.begin(), starts.end());
        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin, y = view->Metrics().unit.cy / 2;
        for (int cell = 0; cell < (int)line.size(); ++cell) {
            int hit = view->SelectionPoint(CPoint(m + cell * cw + cw / 2 + 1, y));
            EXPECT_TRUE(boundary.count(hit)) << "hit " << hit << " at cell " << cell;
            CRange range;
            int x = view->GetTextRange(0, m + cell * cw, m + cell * cw + 5 * cw, m, range);
            EXPECT_TRUE(boundary.count(range.first)) << "first " << range.first << " at cell " << cell;
            EXPECT_TRUE(boundary.count(range.last)) << "last " << range.last << " at cell " << cell;
            EXPECT_EQ(x, m + range.first * cw);
        }
    });
}

TEST_F(ViewGbk, FindAndReplaceAllTakeOnlyHitsOnCharacterBoundaries) {
    std::mt19937 rng(83);
    std::string line = Line(rng, 80);
    ForBothViews(line + "\n", [&](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        std::vector<int> starts = Boundaries(line, 0, (int)line.size());
        std::set<int> boundary(starts.begin(), starts.end());
        std::vector<int> expected;
        for (int p = 0; p < (int)line.size(); ++p)
            if (line[(size_t)p] == '@' && boundary.count(p)) expected.push_back(p);
        ASSERT_FALSE(expected.empty());
        view->SetSelection(0, 0);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        std::vector<int> found;
        for (size_t k = 0; k < expected.size() + 1; ++k) {
            Notify(view, FR_DOWN | FR_MATCHCASE, "@", "");
            if (!found.empty() && view->Model().Selection().start <= found.back()) break;
            found.push_back(view->Model().Selection().start);
        }
        EXPECT_EQ(found, expected);
        std::string replaced = line;
        for (int p : expected) replaced[(size_t)p] = '#';
        Notify(view, FR_REPLACEALL | FR_MATCHCASE, "@", "#");
        EXPECT_EQ(Text(view), replaced + "\n");
    });
}

// A double click selects a word by spaces, line feeds and tabs, none of which is ever a second byte:
// wherever the click falls, the word's ends are character boundaries; a whole-word search takes only
// the hits that also stand on boundaries.
TEST_F(ViewGbk, DoubleClicksAndWholeWordsStayOnCharacterBoundaries) {
    std::mt19937 rng(84);
    std::string line = Line(rng, 40) + " @ " + Line(rng, 40) + " @";
    ForBothViews(line + "\n", [&](CEditScrollView* view) {
        view->GetEditDocument()->SetOption(kOptionGbkCharacters, TRUE);
        std::vector<int> starts = Boundaries(line, 0, (int)line.size());
        std::set<int> boundary(starts.begin(), starts.end());
        int cw = view->Metrics().unit.cx, m = view->Metrics().leftMargin, y = view->Metrics().unit.cy / 2;
        for (int cell = 0; cell < (int)line.size() && cell < 70; cell += 3) {
            LPARAM at = MAKELPARAM(m + cell * cw + 1, y);
            view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
            view->SendMessage(WM_LBUTTONUP, 0, at);
            view->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            view->SendMessage(WM_LBUTTONUP, 0, at);
            EXPECT_TRUE(boundary.count(view->Model().Selection().start)) << "cell " << cell;
            EXPECT_TRUE(boundary.count(view->Model().Selection().end)) << "cell " << cell;
        }
        std::vector<int> expected;
        for (int p = 0; p < (int)line.size(); ++p) {
            bool alone = (p == 0 || line[(size_t)p - 1] == ' ') &&
                         (p + 1 == (int)line.size() || line[(size_t)p + 1] == ' ');
            if (line[(size_t)p] == '@' && boundary.count(p) && alone) expected.push_back(p);
        }
        ASSERT_FALSE(expected.empty());
        view->SetSelection(0, 0);
        view->SendMessage(WM_COMMAND, ID_EDIT_FIND);
        std::vector<int> found;
        for (size_t k = 0; k < expected.size() + 1; ++k) {
            Notify(view, FR_DOWN | FR_MATCHCASE | FR_WHOLEWORD, "@", "");
            if (!found.empty() && view->Model().Selection().start <= found.back()) break;
            if (view->Model().Selection().start == view->Model().Selection().end) break;
            found.push_back(view->Model().Selection().start);
        }
        EXPECT_EQ(found, expected);
    });
}
