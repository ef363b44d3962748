#pragma once
// Changes to a beam or column the GB 50010-2010 rule set has designed, made
// with the same choice of bars, stirrups and ties as the design itself: for
// the detailing that asks for more steel than the forces do.
#include "design/design_options.h"
#include "design/design_records.h"
#include "design/design_rules.h"
#include "design/materials.h"

namespace kj::gb2010 {

// A designed beam section (top bars at a support, bottom bars in the span)
// given at least the steel As (mm2), with its bars laid inside stirrups of
// the given diameter (mm): the bars are chosen again for the area, h0 follows
// them, and As grows further while the flexure of 6.2.10 at that h0 needs
// more. Bars that already hold As inside stirrups no thicker than before are
// kept. Never lowers As. False, and the section unchanged, when the bars do
// not fit three layers of the width (9.2.1) or exceed 4 % b h.
bool raiseBeamSteel(BeamSectionDesign& s, double As, double stirrup, double b, double h, BarPosition position,
                    const Materials& materials, const DesignOptions& options);

// 6.3.4: where concentrated loads cause more than 75 % of the shear at a
// support of an independent beam, the distance from that support to the
// nearest of them, mm; 0 otherwise (and for a beam of a frame). The shares
// are those of the loads on the beam simply supported; the right support
// takes in.rightLoads where given.
double concentratedLoadDistance(const BeamInput& in, bool left);

// The stirrups of a beam support and their text.
void setBeamStirrups(BeamSectionDesign& s, const Stirrups& stirrups);

// The ties of a column and their text ("Φ8@100", "Φ8@100(4)").
void setColumnTies(kj::ColumnDesign& c, const Stirrups& ties);

} // namespace kj::gb2010
