#pragma once
// The frame data file: records 1 to 5 (header, lengths, sections, span-load
// items, joint-load items) read at the start of a calculation, record 6
// (Fy, C) read only after the internal forces are complete.
#include "common/items.h"

#include <string>
#include <vector>

namespace kj {

// Limits of the frame data model.
inline constexpr int kMaxStoreys = 10;
inline constexpr int kMaxBeams = 40;
inline constexpr int kMaxNodes = 50;
inline constexpr int kMaxJointGroups = 60;
inline constexpr int kMaxLoadEntries = 7;

struct FrameData {
    std::string fileName; // the slot name as the user gave it, for messages

    // Header: the items as read (the echo writes them) and their values.
    std::string name;
    std::string itemL, itemNF, itemNJ, itemCL, itemNZ;
    int L = 0, NF = 0, NJ = 0;
    double CL = 0, NZ = 0;

    std::string lengthTable, lengthNumbers;  // record 2
    std::string sectionTable, memberSections; // record 3
    std::vector<std::string> spanLoads;  // record 4, one item per beam, as read
    std::vector<std::string> jointLoads; // record 5, NJ items (none when NJ <= 0)
    // A frame stated by a project file rather than a data file: its input as
    // the report echoes it, one line each, in place of records 1 to 5.
    std::vector<std::string> projectEcho;

    int NB() const { return L * NF; }
    int NC() const { return (L + 1) * NF; }
    int memberCount() const { return NB() + NC(); }
    int dofCount() const { return NC() + NF; }
    // Frame flag 1: continuous beam on slender props, no column design.
    bool continuousBeam() const { return CL == 1; }
};

struct Materials {
    double Fy = 0; // design strength of the main bars, N/mm2
    double C = 0;  // concrete grade number
};

// Reads a frame data file text item by item, in file order.
class FrameFileReader {
public:
    FrameFileReader(std::string text, std::string fileName);
    // Records 1 to 5. Throws Failure naming the file and the missing record
    // and item, or the limit that is exceeded.
    FrameData readRecords1to5();
    // Record 6, read after the analysis.
    Materials readMaterials();

private:
    std::string item(const char* record, int itemNo);
    ItemReader items_;
    std::string fileName_;
};

} // namespace kj
