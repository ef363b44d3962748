#pragma once
// The single exception type of the core. Its message is a short Chinese text
// (UTF-8) that names the file and the record, item or member concerned; the
// windows show it in a message box and the batch command prints it.
#include <stdexcept>
#include <string>

namespace kj {

class Failure : public std::runtime_error {
public:
    explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kj
