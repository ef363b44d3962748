#pragma once
// A new text for a box, named as the window names it ("Text33"): what the
// Qt-free logic behind the windows hands back for a window to write.
#include <string>

namespace kj {

struct BoxText {
    std::string box;
    std::string text;
    bool operator==(const BoxText&) const = default;
};

} // namespace kj
