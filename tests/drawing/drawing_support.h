#pragma once
// A calculation from the text of a frame data file, or from an example.
#include "calc/calculation.h"
#include "calc/data_file_calculation.h"

#include <string>

namespace kjtest {

inline kj::FileCalculation calculateText(const std::string& text, const std::string& name = "test.txt")
{
    kj::FrameFileReader reader(text, name);
    kj::FileCalculation out;
    out.data = reader.readRecords1to5();
    kj::FrameModel model = kj::buildModel(out.data);
    model.materials = reader.readMaterials();
    out.calculation = kj::calculate(model, kj::parseDesignOptions({}));
    return out;
}

inline kj::FileCalculation calculateExample(const std::string& name)
{
    return kj::calculateDataFile(std::string(KJ_EXAMPLES_DIR) + "/" + name + ".txt", name + ".txt", {});
}

// One 6 m span, 250 x 500, under 20 kN/m, clamped at both ends: a continuous
// beam whose end fixity code 3 puts massive props under both ends.
inline const char* kClampedBeam = "CB,1,1,0,1,3\r\n6.00,11\r\n.25.50,100\r\n1 20.0\r\n300,25\r\n";

} // namespace kjtest
