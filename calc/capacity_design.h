#pragma once
// Capacity design of a frame structure under one seismic combination, GB
// 50011-2010 (2016 edition) 6.2.2 to 6.2.5 with GB 50010-2010 11.3.2, 11.4.1
// to 11.4.3: strong column and weak beam at the joints, the ground-storey
// column feet, strong shear of beams and columns; and the axial compression
// ratio of every column (Table 6.3.6). Forces in kN and kN*m, lengths in m;
// member end moments clockwise positive, as the analysis gives them.
#include "analysis/frame_model.h"
#include "analysis/internal_forces.h"

#include <string>
#include <vector>

namespace kj {

struct BeamDesignForces;
struct ColumnDesignForces;
struct EnvelopeResult;

struct BeamCapacity {
    double ln = 0;             // clear span, m
    // The combination's end moments before γRE (with the redistribution and
    // ηs as designed), kN*m: the beam's share of ΣMb at its end joints.
    double M1 = 0, M2 = 0;
    double momentSum = 0;      // |Mbl + Mbr| in one sense of rotation, kN*m
    double VGb1 = 0, VGb2 = 0; // shear of the combination's gravity on the clear span, simply supported, kN
    double V1 = 0, V2 = 0;     // ηvb (Mbl + Mbr) / ln + VGb at each end, kN (0 for grade 4)
    bool raised1 = false, raised2 = false; // above the combination's own shear
};

struct ColumnCapacity {
    double axialRatio = 0;              // N / (fc A), the larger compression of the two ends
    double topFactor = 1, footFactor = 1; // on the end moments: ηc ΣMb / ΣMc, or the ground-storey foot factor
    double Hn = 0;                        // clear height, m
    double V = 0;                         // ηvc (Mct + Mcb) / Hn, signed as (Mtop + Mbottom), kN
    bool groundFoot = false;              // the foot is that of a ground-storey column (6.2.3)
    double cornerFactor = 1;              // on both end moments and V: a corner column's 1.10 (6.2.6)
};

struct CapacityDesign {
    int grade = 0; // 抗震等级 1..4; 0: none done
    std::vector<BeamCapacity> beams;     // 1..NB
    std::vector<ColumnCapacity> columns; // 1..NC
};

// The faces of the columns below beam i's end joints (each column's depth h
// in the plane of the frame, on the joint's centre line), m from the beam's
// left end; both ends of the beam when that leaves no clear span.
std::pair<double, double> beamColumnFaces(const FrameModel& model, int beam);
// The clear span ln between those faces, m.
double beamClearSpan(const FrameModel& model, int beam);

// The end shears (left, right) of a beam's loads on a simply supported span
// between from and to (m from the beam's left end), kN, upward positive: VGb
// of GB 50011 6.2.4 on the clear span ln (GB 50010 11.3.2). Loads outside
// the span stand on the columns and are left out.
std::pair<double, double> simplySupportedShears(const MemberForces& along, double from, double to);

// 6.2.2 / 11.4.1: ΣMb of a joint from the end moment of the beam on its left
// (its M2) and on its right (its M1), 0 where there is none, clockwise
// positive; for grade 1 two hogging ends (Mleft > 0, Mright < 0) count only
// the larger.
double jointBeamMoment(double Mleft, double Mright, int grade);

// A column of the leftmost or rightmost column line: a corner column of the
// building when the frame is an edge frame.
bool outerColumn(const FrameTopology& t, int column);

// The capacity design of one seismic combination from its design forces
// before γRE (beams with redistribution), the combined forces along the
// members, the grade and the concrete's fc (N/mm2). Joints of the top level
// and columns of an axial ratio below 0.15 keep their moments (6.2.2). With
// cornerColumns the columns of the outer column lines, every storey, take
// the corner column's factor on their adjusted moments and shear (6.2.6).
CapacityDesign capacityDesign(const FrameModel& model, const std::vector<BeamDesignForces>& beams,
                              const std::vector<ColumnDesignForces>& columns, const InternalForces& forces, int grade,
                              double fc, bool cornerColumns = false);

// Applies the factors to the column end moments and raises the beams' end
// shears to V of 6.2.4 where it is larger (grades 1 to 3). The column shear
// of 6.2.5 goes to the column design separately (ColumnCapacity::V).
void applyCapacityDesign(std::vector<BeamDesignForces>& beams, std::vector<ColumnDesignForces>& columns,
                         const CapacityDesign& capacity);

// The axial compression ratio of a column over the seismic combinations
// (Table 6.3.6), for the report.
struct AxialRatioCheck {
    int combination = -1; // the governing seismic combination; -1: none
    double ratio = 0, limit = 0;
    bool ok = true;
};
std::vector<AxialRatioCheck> axialRatioChecks(const EnvelopeResult& r); // 1..NC; empty without seismic combinations

// The amplification text of one beam end or column end in a seismic
// combination for the governing lines, e.g. "ηcΣMb/ΣMc=1.21 ηvc=1.30 角柱×1.10" or "ηvb=1.2";
// empty when nothing was amplified.
std::string columnAmplificationText(const CapacityDesign& c, int column, bool top);
std::string beamAmplificationText(const CapacityDesign& c, int beam, bool left);

} // namespace kj
