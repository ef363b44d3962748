#pragma once
// The data check of a frame data file: every field that does not read
// cleanly where the layout expects a number. The calculation still reads
// the file by its item rules; the check only reports what those rules would
// take silently (characters left over in a fixed-width field, letters, a
// comma used as a decimal point, a load string whose length does not fit
// its entries, a length or section number that is not one digit).
#include "analysis/frame_data.h"

#include <string>
#include <vector>

namespace kj {

struct DataWarning {
    int item = 0;        // item number in the file, from 1; 0 when not known
    int line = 0;        // line of the file, from 1; 0 when not known
    std::string record;  // "梁间荷载数据"
    std::string member;  // "第 3 号梁", "第 2 组节点荷载"; empty for a record-wide field
    std::string field;   // "第 2 个荷载的数值 (第 11-15 个字符 \"0.00P\")"
    std::string problem; // what is wrong and how the calculation reads it
    std::string message; // the whole warning in one line, naming the file
};

// The items of records 1 to 5 as read. At most one warning per item: the
// first field of an item that does not read cleanly (later fields of a
// load string are usually shifted by the same mistake).
std::vector<DataWarning> checkFrameData(const FrameData& data);

// The whole file: records 1 to 5 as above, record 6 (Fy, C), and items left
// after record 6 (the sign of an item split in two by a comma). Warnings
// carry their line numbers. Throws the reader's Failure when records 1 to 5
// cannot be read.
std::vector<DataWarning> checkFrameFile(const std::string& text, const std::string& fileName);

} // namespace kj
