// Page plans of the print methods, checked by their texts and their extent.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/base/Cp949.h"
#include "core/engine/LetterCodes.h"
#include "core/print/PrintJob.h"
#include "core/record/RecordHeader.h"

namespace zel {
namespace {

std::string U(const std::string& cp949)
{
    return Cp949ToUtf8(cp949);
}

// A record of `moves` moves on distinct points, as a record list gives it.
TPrintSource Source(int moves, const std::vector<std::string>& commentaryLines = {}, int handicap = 0, int komi = 6)
{
    TRecordHeader h;
    h.Black = Utf8ToCp949("김흑(kim) 3D");
    h.White = "lee(lee) 2D";
    h.Handicap = handicap;
    h.Komi = komi;
    h.DateLine = "2026-12-07 21:30";
    h.Title = RecordTitle();
    h.Result = Utf8ToCp949("백 불계승");
    TGiboList list;
    list.AddLine(RecordHeaderLine(h));
    for (int i = 1; i <= moves; ++i) {
        const int p = (i * 7) % 361;
        const char x = NumToLetter(p % 19 + 1);
        const char y = NumToLetter(p / 19 + 1);
        list.AddLine("PM" + NumToCode2(i) + (i % 2 ? "B" : "W") + x + y + y + x);
    }
    for (const std::string& line : commentaryLines)
        list.AddLine(line);
    return TPrintSource::FromRecord(list, "20261207kimlee.zel");
}

std::vector<std::string> Texts(const TPrintPlan& plan, const std::string& prefix)
{
    std::vector<std::string> found;
    for (const TPage& page : plan.Pages)
        for (const TDrawOp& op : page.Ops)
            if (op.Kind == TDrawOp::kText && U(op.Text).starts_with(prefix))
                found.push_back(U(op.Text));
    return found;
}

TEST(PrintPlan, SplitPagesAndTitles)
{
    struct Row {
        int perPage, splitNo, pages;
        std::string lastTitle;
    } rows[] = {
        {4, 50, 2, "[부분보 : 201 수 ~ 250 수]"}, {2, 50, 3, "[부분보 : 201 수 ~ 250 수]"},
        {1, 50, 5, "[부분보 : 201 수 ~ 250 수]"}, {4, 60, 2, "[부분보 : 241 수 ~ 250 수]"},
        {4, 0, 63, "[부분보 : 250 수 ~ 250 수]"}, // a split of 0 is one move per diagram
    };
    const TPrintSource source = Source(250);
    for (const Row& r : rows) {
        TPrintRequest req;
        req.Method = kPrintSplit;
        req.SplitNo = r.splitNo;
        req.PerPage = r.perPage;
        const TPrintPlan plan = PlanPrint(TPageSetup{}, req, source, "2026-12-08 10:00");
        EXPECT_EQ(static_cast<int>(plan.Pages.size()), r.pages) << r.perPage << "/" << r.splitNo;
        const auto titles = Texts(plan, "[부분보");
        ASSERT_FALSE(titles.empty());
        EXPECT_EQ(titles.front(), "[부분보 : 1 수 ~ " + std::to_string(std::max(r.splitNo, 1)) + " 수]");
        EXPECT_EQ(titles.back(), r.lastTitle);
        // Split pages carry the frame without its left text.
        EXPECT_TRUE(Texts(plan, "총보").empty());
        EXPECT_TRUE(Texts(plan, "부분보 :").empty());
    }
}

TEST(PrintPlan, EveryMethodStaysOnThePage)
{
    const std::string body = "AE"
                             "AA"
                             "DD"
                             "EE"
                             "FF"
                             "\\#"
                             "AA"
                             "\\#" +
                             Utf8ToCp949("<< 해 설 >>  \\!좋은 수\\!:: kim");
    const TPrintSource source = Source(250, {"VHAK" + body, "VHBA" + body});
    TPageSetup setup;
    for (int method : {kPrintWhole, kPrintRange, kPrintSplit, kPrintCommentaries}) {
        for (int perPage : {1, 2, 4}) {
            TPrintRequest req{method, 1, 250, 50, perPage};
            const TPrintPlan plan = PlanPrint(setup, req, source, "2026-12-08 10:00");
            ASSERT_FALSE(plan.Pages.empty()) << method;
            for (const TPage& page : plan.Pages)
                for (const TDrawOp& op : page.Ops) {
                    const int x1 = std::min(op.X, op.X + op.W), x2 = std::max(op.X, op.X + op.W);
                    const int y1 = std::min(op.Y, op.Y + op.H), y2 = std::max(op.Y, op.Y + op.H);
                    EXPECT_TRUE(x1 >= 0 && x2 <= setup.Width && y1 >= 0 && y2 <= setup.Height)
                        << "method " << method << " per page " << perPage << " kind " << op.Kind << " at " << op.X
                        << "," << op.Y << " " << U(op.Text);
                }
        }
    }
}

TEST(PrintPlan, SinglePageHeaderAndFrame)
{
    const TPrintSource source = Source(120);
    const TPrintPlan whole = PlanPrint(TPageSetup{}, {kPrintWhole}, source, "2026-12-08 10:00");
    ASSERT_EQ(whole.Pages.size(), 1u);
    EXPECT_EQ(Texts(whole, "총보"), std::vector<std::string>{"총보 : 1 ~ 120"});
    EXPECT_EQ(Texts(whole, "흑   : "), std::vector<std::string>{"흑   : 김흑(kim) 3D"});
    EXPECT_EQ(Texts(whole, "백   : "), std::vector<std::string>{"백   : lee(lee) 2D"});
    EXPECT_EQ(Texts(whole, "방법 : "), std::vector<std::string>{"방법 : 호선(흑 6집 반 공제)"});
    EXPECT_EQ(Texts(whole, "결과 : "), std::vector<std::string>{"결과 : 백 불계승"});
    EXPECT_EQ(Texts(whole, "일시 : "), std::vector<std::string>{"일시 : 2026-12-07 21:30"});
    EXPECT_EQ(Texts(whole, "2026-12-08"), std::vector<std::string>{"2026-12-08 10:00   20261207kimlee.zel"});
    EXPECT_EQ(Texts(whole, "가온하루미"), std::vector<std::string>{"가온하루미 벨다대국"});

    TPrintRequest range{kPrintRange, 100, 400};
    const TPrintPlan part = PlanPrint(TPageSetup{}, range, source, "2026-12-08 10:00");
    EXPECT_EQ(Texts(part, "부분보"), std::vector<std::string>{"부분보 : 100 ~ 120"});
    // Numbers 100..120 on the board, nothing before.
    EXPECT_EQ(Texts(part, "99").size(), 0u);
    EXPECT_EQ(Texts(part, "120").size(), 1u);
}

TEST(PrintPlan, MethodTexts)
{
    struct Row {
        int handicap;
        char side;
        int komi;
        const char* text;
    } rows[] = {
        {0, 'A', 6, "호선(흑 6집 반 공제)"},  {0, 'B', 5, "호선(백 5집 반 공제)"},
        {1, 'A', 0, "정선(공제 없음)"},       {3, 'A', 0, "3점 접바둑(공제 없음)"},
        {9, 'A', 0, "9점 접바둑(공제 없음)"}, {12, 'A', 0, "13 점 접바둑(공제 없음)"},
    };
    for (const Row& r : rows) {
        TRecordHeader h;
        h.Handicap = r.handicap;
        h.KomiSide = r.side;
        h.Komi = r.komi;
        EXPECT_EQ(U(PrintMethodText(h)), r.text);
    }
}

TEST(PrintPlan, RangeFields)
{
    struct Row {
        const char *from, *to;
        bool ok;
        int first, last;
    } rows[] = {
        {"1", "250", true, 1, 250},  {"5", "999", true, 5, 250},        {" 3 ", "7", true, 3, 7},
        {"0", "0", false, 0, 0},     {"abc", "10", false, 0, 0},        {"1", "1x", false, 0, 0},
        {"", "10", false, 0, 0},     {"10", "5", false, 0, 0},          {"-1", "5", false, 0, 0},
        {"300", "400", false, 0, 0}, {"99999999999", "1", false, 0, 0},
    };
    for (const Row& r : rows) {
        int first = 0, last = 0;
        EXPECT_EQ(ReadPrintRange(r.from, r.to, 250, first, last), r.ok) << r.from << ".." << r.to;
        if (r.ok) {
            EXPECT_EQ(first, r.first);
            EXPECT_EQ(last, r.last);
        }
    }
}

TEST(PrintPlan, CommentaryPagesSkipMalformedOnes)
{
    const std::string text = Utf8ToCp949("<< 해 설 >>  \\!흑이 두면 백이 받는다\\!:: kim");
    const std::vector<std::string> lines = {
        "VHAK"
        "AC"
        "AA"
        "DD"
        "\\#"
        "AA"
        "\\#" +
            text, // move 10, one move
        "VHAU"
        "AD"
        "AA"
        "DD"
        "\\#"
        "AA"
        "\\#" +
            text, // count 3 but two points
        "VHBE"
        "AC"
        "AA"
        "ZZ"
        "\\#"
        "AA"
        "\\#" +
            text, // a point off the board
        "VHBO"
        "AC"
        "AA"
        "EE"
        "\\#"
        "AB"
        "EEXC"
        "\\#" +
            text, // move 40 with a mark
        "VHCA"
        "AC"
        "AA"
        "FF", // no marks, no text
    };
    const TPrintPlan plan = PlanPrint(TPageSetup{}, {kPrintCommentaries}, Source(100, lines), "");
    const std::vector<std::string> want = {"[10 번째 수에 대한 참고도]", "[40 번째 수에 대한 참고도]",
                                           "[52 번째 수에 대한 참고도]"};
    EXPECT_EQ(Texts(plan, "["), want);
    EXPECT_EQ(plan.Pages.size(), 2u);
    EXPECT_EQ(Texts(plan, "<< 해설 >>").size(), 3u);
    EXPECT_EQ(Texts(plan, "흑이 두면").size(), 2u);
    EXPECT_EQ(Texts(plan, "A").size(), 1u); // the letter mark of move 40
}

TEST(PrintPlan, CommentLines)
{
    struct Row {
        const char* name;
        std::string comment;
        std::vector<std::string> lines;
    } rows[] = {
        {"the heading line is left out, the author after an empty line",
         "<< 해 설 >>  \\!첫 줄\\!둘째 줄\\!:: kim",
         {"", "<< 해설 >>", "", "첫 줄", "둘째 줄", "", ":: kim"}},
        {"wrapped after 32 bytes, a Korean letter never split, no leading blanks",
         "<< 해 설 >>  \\!가나다라마바사아자차카타파하가나다 라마바\\!   들여쓴 줄",
         {"", "<< 해설 >>", "", "가나다라마바사아자차카타파하가나", "다 라마바", "들여쓴 줄"}},
        {"a comment without the heading keeps its first line",
         "heading-less\\!second",
         {"", "<< 해설 >>", "", "heading-less", "second"}},
        {"empty lines stay", "<< 해 설 >>  \\!a\\!\\!b", {"", "<< 해설 >>", "", "a", "", "b"}},
        {"an odd number of bytes wraps at 32",
         "<< 해 설 >>  \\!x가나다라마바사아자차카타파하가나",
         {"", "<< 해설 >>", "", "x가나다라마바사아자차카타파하가", "나"}},
    };
    for (const Row& r : rows) {
        std::vector<std::string> got;
        for (const std::string& line : CommentLines(Utf8ToCp949(r.comment)))
            got.push_back(U(line));
        EXPECT_EQ(got, r.lines) << r.name;
    }
}

TEST(PrintPlan, NothingToPrint)
{
    const TPrintSource source = Source(50);
    EXPECT_TRUE(PlanPrint(TPageSetup{}, {kPrintRange, 60, 70}, source, "").Pages.empty());
    EXPECT_TRUE(PlanPrint(TPageSetup{}, {kPrintCurrentCommentary}, source, "").Pages.empty());
    EXPECT_TRUE(PlanPrint(TPageSetup{}, {kPrintCommentaries}, source, "").Pages.empty());
    EXPECT_TRUE(PlanPrint(TPageSetup{}, {kPrintSplit}, Source(0), "").Pages.empty());
}

} // namespace
} // namespace zel
