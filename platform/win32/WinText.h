// Text across the Windows boundary: the program's UTF-8, the system's UTF-16
// (the W functions) and the ANSI code page (the A functions), and the
// system's own words for an error code.
#pragma once

#include <string>
#include <system_error>

namespace durmivela::win32 {

std::wstring wide(const std::string& utf8);
std::string utf8(const std::wstring& text);
// For the A functions: characters the ANSI code page lacks become '?'.
std::string ansi(const std::string& utf8);
std::string utf8FromAnsi(const std::string& text);

// FormatMessage's text for a GetLastError code, without the trailing line
// break; the code in numbers when the system has no text for it.
std::string systemErrorText(unsigned long code);

// Error codes of GetLastError, whose message() is systemErrorText().
const std::error_category& windowsCategory();

}  // namespace durmivela::win32
