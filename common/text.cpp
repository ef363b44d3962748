#include "common/text.h"

#include <algorithm>

namespace kj {

namespace {
// Length in bytes of the UTF-8 sequence starting with byte b (1 for a stray
// continuation byte, so that broken text still advances).
std::size_t seqLen(unsigned char b)
{
    if (b < 0x80) return 1;
    if ((b & 0xE0) == 0xC0) return 2;
    if ((b & 0xF0) == 0xE0) return 3;
    if ((b & 0xF8) == 0xF0) return 4;
    return 1;
}
// Byte offset of the character with 0-based index idx (or size when beyond).
std::size_t byteOffset(std::string_view t, std::size_t idx)
{
    std::size_t off = 0;
    while (idx > 0 && off < t.size()) {
        off += seqLen(static_cast<unsigned char>(t[off]));
        --idx;
    }
    return off < t.size() ? off : t.size();
}
} // namespace

std::size_t charCount(std::string_view text)
{
    std::size_t n = 0;
    for (std::size_t off = 0; off < text.size(); off += seqLen(static_cast<unsigned char>(text[off]))) ++n;
    return n;
}

std::string charSlice(std::string_view text, std::size_t first, std::size_t count)
{
    if (first < 1 || count == 0) return {};
    std::size_t a = byteOffset(text, first - 1);
    std::size_t b = a;
    while (count > 0 && b < text.size()) {
        b += seqLen(static_cast<unsigned char>(text[b]));
        --count;
    }
    if (b > text.size()) b = text.size();
    return std::string(text.substr(a, b - a));
}

std::string charAt(std::string_view text, std::size_t pos) { return charSlice(text, pos, 1); }

std::string clipText(std::string_view text, std::size_t maxChars)
{
    if (charCount(text) <= maxChars) return std::string(text);
    return (maxChars > 1 ? charSlice(text, 1, maxChars - 1) : std::string()) + "…";
}

namespace {

// The message form of text: control characters (C0, DEL and the C1 range
// U+0080..U+009F) and bytes that are not UTF-8 written as \t, \r, \n or
// \xNN; at most maxShown characters, then "…".
std::string escaped(std::string_view item, std::size_t maxShown)
{
    const char* hex = "0123456789ABCDEF";
    auto code = [&](unsigned char b) { return std::string("\\x") + hex[b >> 4] + hex[b & 15]; };
    std::string out;
    std::size_t shown = 0;
    for (std::size_t off = 0; off < item.size();) {
        const unsigned char c = static_cast<unsigned char>(item[off]);
        std::size_t n = std::min(seqLen(c), item.size() - off);
        bool whole = n == seqLen(c) && (c < 0x80 || n > 1);
        for (std::size_t k = 1; k < n && whole; ++k)
            whole = (static_cast<unsigned char>(item[off + k]) & 0xC0) == 0x80;
        std::string piece;
        if (c == '\t') piece = "\\t";
        else if (c == '\r') piece = "\\r";
        else if (c == '\n') piece = "\\n";
        else if (c < 0x20 || c == 0x7F) piece = code(c);
        else if (!whole) {
            piece = code(c);
            n = 1;
        } else if (c == 0xC2 && static_cast<unsigned char>(item[off + 1]) < 0xA0) {
            piece = code(static_cast<unsigned char>(item[off + 1]));
        } else {
            piece = std::string(item.substr(off, n));
        }
        const std::size_t width = piece.size() > n ? piece.size() : 1;
        if (shown + width > maxShown) return out + "…";
        out += piece;
        shown += width;
        off += n;
    }
    return out;
}

} // namespace

std::string clipForMessage(std::string_view item) { return escaped(item, 60); }

std::string terminalSafe(std::string_view text) { return escaped(text, std::string_view::npos / 2); }

std::vector<std::string> cappedWarnings(const std::vector<std::string>& warnings, const std::string& fullList)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < warnings.size() && i < kShownWarnings; ++i) out.push_back(terminalSafe(warnings[i]));
    if (warnings.size() > kShownWarnings) {
        std::string more = "另有 " + std::to_string(warnings.size() - kShownWarnings) + " 条警告";
        if (!fullList.empty()) more += ", 全部警告见 " + terminalSafe(fullList);
        out.push_back(more);
    }
    return out;
}

std::string quoteForMessage(std::string_view item) { return "\"" + clipForMessage(item) + "\""; }

std::vector<std::string> splitLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::size_t start = 0, i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.emplace_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

} // namespace kj
