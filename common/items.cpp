#include "common/items.h"

namespace kj {

namespace {
bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }
} // namespace

ItemReader::ItemReader(std::string text) : text_(std::move(text)) {}

bool ItemReader::atEnd() const { return pos_ >= text_.size() && !pendingEmpty_; }

std::optional<std::string> ItemReader::next()
{
    if (pos_ >= text_.size()) {
        // A comma at the very end of the text still ends an empty item.
        if (pendingEmpty_) {
            pendingEmpty_ = false;
            ++count_;
            return std::string();
        }
        return std::nullopt;
    }
    std::size_t i = pos_;
    while (i < text_.size() && isBlank(text_[i])) ++i;
    std::string item;
    if (i < text_.size() && text_[i] == '"') {
        // Quoted: everything up to the closing quote (or the line end when it
        // is missing); whatever follows the closing quote up to the next
        // separator is passed over.
        ++i;
        std::size_t close = i;
        while (close < text_.size() && text_[close] != '"' && !isLineEnd(text_[close])) ++close;
        item = text_.substr(i, close - i);
        i = close;
        if (i < text_.size() && text_[i] == '"') ++i;
        while (i < text_.size() && text_[i] != ',' && !isLineEnd(text_[i])) ++i;
    } else {
        std::size_t end = i;
        while (end < text_.size() && text_[end] != ',' && !isLineEnd(text_[end])) ++end;
        std::size_t last = end;
        while (last > i && isBlank(text_[last - 1])) --last;
        item = text_.substr(i, last - i);
        i = end;
    }
    pendingEmpty_ = false;
    if (i < text_.size()) {
        if (text_[i] == ',') {
            pendingEmpty_ = true;
            ++i;
            // A comma directly followed by a line end: the line end closes the
            // empty item after the comma; it is read as that item.
        } else if (text_[i] == '\r') {
            ++i;
            if (i < text_.size() && text_[i] == '\n') ++i;
        } else {
            ++i;
        }
    }
    pos_ = i;
    ++count_;
    return item;
}

std::vector<std::string> readItems(std::string text)
{
    ItemReader r(std::move(text));
    std::vector<std::string> out;
    while (auto it = r.next()) out.push_back(*it);
    return out;
}

} // namespace kj
