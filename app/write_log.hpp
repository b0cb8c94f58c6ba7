#pragma once

#include <string>
#include <string_view>

namespace korvanel {

// Appends one line to today's file in "C:\Client_log\" with the local time
// and the calling thread's id. printf-style, wide; any thread. A log that
// can't be written is skipped without a word: the user never sees it.
void WriteLog(const wchar_t* format, ...);

// Writes `text` as it stands, never as a format.
void WriteLogText(std::wstring_view text);

// The directory the log goes to, with its trailing backslash.
std::wstring LogDirectory();

// Tests point the log elsewhere; an empty path restores the fixed one.
void SetLogDirectoryForTesting(const std::wstring& directory);

}  // namespace korvanel
