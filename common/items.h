#pragma once
// Item reading: a text read as items separated by commas or line ends. An
// item in double quotes loses its quotes and may hold commas; an unquoted
// item loses its leading and trailing blanks; two separators in a row, or
// a comma at the end of a line, give an empty item.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kj {

class ItemReader {
public:
    explicit ItemReader(std::string text);
    // The next item, or nothing at the end of the text.
    std::optional<std::string> next();
    bool atEnd() const;
    // Count of items read so far.
    int itemsRead() const { return count_; }

private:
    std::string text_;
    std::size_t pos_ = 0;
    int count_ = 0;
    bool pendingEmpty_ = false; // the last separator was a comma
};

// Every item of a text, in order.
std::vector<std::string> readItems(std::string text);

} // namespace kj
