#pragma once
// Reading back the diagnostic log in tests.
#include <string>
#include <vector>

namespace korvanel::testing {

// Today's log file in `directory` (with its trailing backslash), byte for
// byte; empty when there is none.
std::string ReadTodaysLog(const std::wstring& directory);

// The message of each line of `contents`: what follows the prefix, without
// the CR LF.
std::vector<std::string> LogMessages(const std::string& contents);

// Points the log at a fresh directory of its own for the test's lifetime
// (created by the first line written), and removes it afterwards.
class TempLog {
public:
    TempLog();
    ~TempLog();
    TempLog(const TempLog&) = delete;
    TempLog& operator=(const TempLog&) = delete;

    const std::wstring& Directory() const { return m_directory; }
    std::string Contents() const { return ReadTodaysLog(m_directory); }
    std::vector<std::string> Lines() const { return LogMessages(Contents()); }
    // Index of the first line whose message contains `text`, or -1.
    int Find(const std::string& text) const;

private:
    std::wstring m_directory;
};

}  // namespace korvanel::testing
