#pragma once
// Texts are UTF-8 inside the program. Fixed-width fields and report columns
// count characters (code points), never bytes.
#include <string>
#include <string_view>
#include <vector>

namespace kj {

// Number of characters (code points) of a UTF-8 text.
std::size_t charCount(std::string_view text);
// Characters first..first+count-1 (1-based) of a UTF-8 text; the part that
// exists when the field lies partly or wholly beyond the end.
std::string charSlice(std::string_view text, std::size_t first, std::size_t count);
// The single character at 1-based position pos, or "" beyond the end.
std::string charAt(std::string_view text, std::size_t pos);

// A name or a title as a page or a drawing shows it: the text itself when it
// has at most maxChars characters, else its first maxChars - 1 and "…", so
// that the time to set it never grows with what the user typed.
std::string clipText(std::string_view text, std::size_t maxChars);

// Splits a text into lines at CR LF, LF or a lone CR. A final line end
// does not start a further (empty) line.
std::vector<std::string> splitLines(std::string_view text);

// An item from a file or a box as a message shows it: at most 60
// characters, then "…", with control characters written as \t, \r, \n or
// \xNN, so that a line of megabytes or of binary bytes stays a short message.
// quoteForMessage adds the double quotes around it.
std::string clipForMessage(std::string_view item);
std::string quoteForMessage(std::string_view item);
// A whole message as a terminal or a message box may show it: control
// characters written as in clipForMessage, nothing clipped.
std::string terminalSafe(std::string_view text);

// A list of warnings as it is shown: the first kShownWarnings (each made
// terminalSafe), then "另有 N 条警告" and, when given, where the full list is.
inline constexpr std::size_t kShownWarnings = 20;
std::vector<std::string> cappedWarnings(const std::vector<std::string>& warnings, const std::string& fullList = {});

// The line end of every file the system writes.
inline constexpr const char* CRLF = "\r\n";

} // namespace kj
