#include "popup/alert_list.hpp"

namespace korvanel {

void AlertList::Append(AlertRecord alert) {
    const std::lock_guard<std::mutex> hold(m_csAlerts);
    m_alerts.push_back(std::move(alert));
}

void AlertList::Clear() {
    const std::lock_guard<std::mutex> hold(m_csAlerts);
    std::deque<AlertRecord>().swap(m_alerts);  // gives the storage back too
}

bool AlertList::Empty() const {
    const std::lock_guard<std::mutex> hold(m_csAlerts);
    return m_alerts.empty();
}

std::size_t AlertList::Size() const {
    const std::lock_guard<std::mutex> hold(m_csAlerts);
    return m_alerts.size();
}

AlertPage AlertList::PageAt(std::size_t index) const {
    return AlertPage{m_alerts[index], m_nCurrent, m_nTotal};
}

std::optional<AlertPage> AlertList::Latest() {
    const std::lock_guard<std::mutex> hold(m_csAlerts);
    if (m_alerts.empty()) return std::nullopt;
    m_itCurrent = m_alerts.size() - 1;
    m_nCurrent = m_nTotal = static_cast<int>(m_alerts.size());
    return PageAt(m_itCurrent);
}

std::optional<AlertPage> AlertList::Previous(const LogSink& log) {
    log(L"OnBnClickedButtonPre=======Begin=====");
    std::optional<AlertPage> page;
    {
        const std::lock_guard<std::mutex> hold(m_csAlerts);
        if (m_alerts.empty()) return std::nullopt;
        if (m_itCurrent > 0) {
            --m_itCurrent;
            --m_nCurrent;
        }
        page = PageAt(m_itCurrent);
    }
    log(L"OnBnClickedButtonPre====" + PageCounterText(m_nCurrent, m_nTotal) + L"========");
    return page;
}

std::optional<AlertPage> AlertList::Next(const LogSink& log) {
    log(L"OnBnClickedButtonNe=======Begin=====");
    std::optional<AlertPage> page;
    {
        const std::lock_guard<std::mutex> hold(m_csAlerts);
        if (m_alerts.empty() || m_itCurrent + 1 >= m_alerts.size()) return std::nullopt;
        ++m_itCurrent;
        ++m_nCurrent;
        page = PageAt(m_itCurrent);
    }
    log(L"OnBnClickedButtonNe====" + PageCounterText(m_nCurrent, m_nTotal) + L"========");
    return page;
}

std::wstring PageCounterText(int current, int total) {
    return std::to_wstring(current) + L'/' + std::to_wstring(total);
}

}  // namespace korvanel
