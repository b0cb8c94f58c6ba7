#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "service/alert_record.hpp"

namespace korvanel {

// What the popup shows: one alert and its counter, "current/total".
struct AlertPage {
    AlertRecord alert;
    int current = 0;
    int total = 0;
};

// Receives the paging handlers' log lines (WriteLog in the program).
using LogSink = std::function<void(const std::wstring&)>;

// Every alert received since the popup last emptied, oldest first, and the
// one on display. Paging never wraps: Previous at the first alert shows it
// again, Next at the last changes nothing.
class AlertList {
public:
    void Append(AlertRecord alert);
    void Clear();
    bool Empty() const;
    std::size_t Size() const;

    // Moves to the newest alert, the counter at n/n; nothing when empty.
    std::optional<AlertPage> Latest();
    // The previous/next button: logs its lines and says what to show, if
    // anything. An emptied list (the window lingers after sliding out and
    // may still have the focus) is not read at all.
    std::optional<AlertPage> Previous(const LogSink& log);
    std::optional<AlertPage> Next(const LogSink& log);

    int Current() const { return m_nCurrent; }
    int Total() const { return m_nTotal; }

private:
    AlertPage PageAt(std::size_t index) const;

    mutable std::mutex m_csAlerts;  // guards m_alerts and m_itCurrent
    std::deque<AlertRecord> m_alerts;
    std::size_t m_itCurrent = 0;  // index of the alert on display
    int m_nCurrent = 0;
    int m_nTotal = 0;
};

// "3/7"
std::wstring PageCounterText(int current, int total);

}  // namespace korvanel
