#pragma once
// What the harnesses share: the input cut into texts, the example frames,
// and the check that no number a user reads came out as "nan" or "inf".
#include "common/textfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace kjfuzz {

// The input's bytes as line-separated texts; the line end is not kept.
inline std::vector<std::string> lines(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> out(1);
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') out.emplace_back();
        else out.back() += static_cast<char>(data[i]);
    }
    return out;
}

// A file of the examples folder, as the program reads it.
inline std::string example(const char* name)
{
    return kj::readTextFile(std::string(KJ_EXAMPLES_DIR) + "/" + name, name);
}

// Stops the run when the text shows a number that is not finite.
inline void abortOnNonFinite(std::string_view text)
{
    for (const char* bad : {"nan", "inf", "NaN", "Inf", "NAN", "INF"})
        if (text.find(bad) != std::string_view::npos) std::abort();
}

} // namespace kjfuzz
