#pragma once
// The title block of the calculation book's first page, as the project file
// states it; a field not given stays blank.
#include <string>

namespace kj {

struct TitleBlock {
    std::string project;  // 工程名称
    std::string frame;    // 框架名称 (blank: the frame's own name)
    std::string designer; // 设计
    std::string checker;  // 校对
    std::string date;     // 日期 (blank: the date of the calculation)
};

} // namespace kj
