#pragma once
// The frame data files of the load cases. Each describes the same frame
// (header, lengths, sections and materials); only the loads differ. The
// dead load G carries the columns' own weight; the live load Q and the wind
// W are analysed without it.
#include "analysis/frame_data.h"
#include "analysis/frame_model.h"
#include "calc/combinations.h"

#include <string>
#include <vector>

namespace kj {

struct LoadCaseInput {
    LoadCaseKind kind = LoadCaseKind::G;
    std::string fileName; // the slot name as given
    FrameData data;       // records 1 to 5 as read, for the report's echo
    FrameModel model;     // with record 6; the columns' own weight only in G
};

// Reads a case file's text: records 1 to 6 and the model. Throws Failure
// naming the file.
LoadCaseInput readLoadCase(LoadCaseKind kind, const std::string& text, const std::string& fileName);

// Checks a list of cases: the dead load G given (it carries the columns'
// own weight), no case twice, and every case describing the frame of G: the
// same L, NF, CL and NZ (record 1), member lengths (record 2), sections
// (record 3) and Fy, C (record 6). The frame name and NJ may differ. Throws
// Failure naming the case file and the record.
void checkLoadCases(const std::vector<LoadCaseInput>& cases);

} // namespace kj
