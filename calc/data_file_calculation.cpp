#include "calc/data_file_calculation.h"

#include "common/failure.h"
#include "common/textfile.h"

namespace kj {

FileCalculation calculateDataFile(const std::filesystem::path& path, const std::string& shownName,
                                  const DesignSettings& settings)
{
    const DesignOptions options = parseDesignOptions(settings);
    FrameFileReader reader(readTextFile(path, shownName), shownName);
    FileCalculation out;
    out.data = reader.readRecords1to5();
    FrameModel model = buildModel(out.data);
    try {
        model.materials = reader.readMaterials();
    } catch (const Failure& f) {
        model.materialsFailure = f.what();
    }
    out.calculation = calculate(model, options);
    return out;
}

} // namespace kj
