#pragma once
// The single exception type of the core. Its message is a short Chinese text
// (UTF-8) that names the file and the record, item or member concerned; the
// windows show it in a message box and the batch command prints it.
#include <new>
#include <stdexcept>
#include <string>

namespace kj {

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// The message for any exception that ends an operation: a Failure's own
// text, "内存不足" when memory ran out, the library's text otherwise.
inline std::string failureText(const std::exception& e)
{
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "内存不足";
    return e.what();
}

} // namespace kj
