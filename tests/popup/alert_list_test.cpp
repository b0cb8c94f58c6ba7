#include "popup/alert_list.hpp"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace korvanel {
namespace {

AlertRecord Alert(const std::wstring& title, const std::string& guid = "g") {
    AlertRecord a;
    a.Title = title;
    a.HasTitle = title.empty() ? 0 : 1;
    a.Info = L"info " + title;
    a.FunctionGuid = guid;
    return a;
}

// The list as the popup drives it, with the log lines the buttons write.
struct Paging : ::testing::Test {
    AlertList list;
    std::vector<std::wstring> log;
    LogSink sink = [this](const std::wstring& line) { log.push_back(line); };

    std::wstring Shown(const std::optional<AlertPage>& page) {
        if (!page) return L"(nothing)";
        return page->alert.Title + L" " + PageCounterText(page->current, page->total);
    }
};

TEST_F(Paging, ThreeAlertsThenBackAndForth) {
    for (const wchar_t* t : {L"one", L"two", L"three"}) list.Append(Alert(t));
    EXPECT_EQ(Shown(list.Latest()), L"three 3/3");

    EXPECT_EQ(Shown(list.Previous(sink)), L"two 2/3");
    EXPECT_EQ(Shown(list.Previous(sink)), L"one 1/3");
    // At the first alert Previous shows it again and logs its counter again.
    EXPECT_EQ(Shown(list.Previous(sink)), L"one 1/3");
    EXPECT_EQ(log, (std::vector<std::wstring>{
                       L"OnBnClickedButtonPre=======Begin=====",
                       L"OnBnClickedButtonPre====2/3========",
                       L"OnBnClickedButtonPre=======Begin=====",
                       L"OnBnClickedButtonPre====1/3========",
                       L"OnBnClickedButtonPre=======Begin=====",
                       L"OnBnClickedButtonPre====1/3========",
                   }));

    log.clear();
    EXPECT_EQ(Shown(list.Next(sink)), L"two 2/3");
    EXPECT_EQ(Shown(list.Next(sink)), L"three 3/3");
    // At the last alert Next changes nothing and logs only its Begin line.
    EXPECT_EQ(Shown(list.Next(sink)), L"(nothing)");
    EXPECT_EQ(list.Current(), 3);
    EXPECT_EQ(log, (std::vector<std::wstring>{
                       L"OnBnClickedButtonNe=======Begin=====",
                       L"OnBnClickedButtonNe====2/3========",
                       L"OnBnClickedButtonNe=======Begin=====",
                       L"OnBnClickedButtonNe====3/3========",
                       L"OnBnClickedButtonNe=======Begin=====",
                   }));
    EXPECT_EQ(Shown(list.Previous(sink)), L"two 2/3");
}

TEST_F(Paging, NewAlertJumpsToTheNewest) {
    for (const wchar_t* t : {L"one", L"two", L"three"}) list.Append(Alert(t));
    list.Latest();
    list.Previous(sink);
    list.Previous(sink);
    ASSERT_EQ(list.Current(), 1);
    list.Append(Alert(L"four"));
    EXPECT_EQ(Shown(list.Latest()), L"four 4/4");
}

TEST_F(Paging, EmptiedListStartsOverAtOne) {
    list.Append(Alert(L"one"));
    list.Append(Alert(L"two"));
    list.Latest();
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(Shown(list.Latest()), L"(nothing)");
    list.Append(Alert(L"again"));
    EXPECT_EQ(Shown(list.Latest()), L"again 1/1");
}

// Mend: the window outlives its emptied list (after the slide-out) and may
// still get a click or key press; paging must not read the list then.
TEST_F(Paging, PagingAnEmptiedListChangesNothing) {
    list.Append(Alert(L"one"));
    list.Append(Alert(L"two"));
    list.Latest();
    list.Previous(sink);
    list.Clear();
    log.clear();
    EXPECT_EQ(Shown(list.Previous(sink)), L"(nothing)");
    EXPECT_EQ(Shown(list.Next(sink)), L"(nothing)");
    EXPECT_EQ(list.Current(), 1);
    EXPECT_EQ(list.Total(), 2);
    EXPECT_EQ(log, (std::vector<std::wstring>{L"OnBnClickedButtonPre=======Begin=====",
                                              L"OnBnClickedButtonNe=======Begin====="}));
    // Never touched before any alert either.
    AlertList fresh;
    EXPECT_FALSE(fresh.Previous(sink));
    EXPECT_FALSE(fresh.Next(sink));
}

TEST_F(Paging, EveryAlertIsItsOwnEntryAndAFullCopy) {
    AlertRecord a = Alert(L"same", "guid-1");
    a.Link = L"http://x";
    a.HasLink = 1;
    list.Append(a);
    list.Append(a);
    a.Title = L"changed by the sender";
    EXPECT_EQ(list.Size(), 2u);
    const auto page = list.Latest();
    ASSERT_TRUE(page);
    EXPECT_EQ(page->alert.Title, L"same");
    EXPECT_EQ(page->alert.FunctionGuid, "guid-1");
    EXPECT_EQ(page->alert.Link, L"http://x");
    EXPECT_EQ(page->total, 2);
}

}  // namespace
}  // namespace korvanel
