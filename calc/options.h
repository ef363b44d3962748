#pragma once
// The design settings as the main window's boxes and the batch command's
// options hold them, and their one reading into typed values.
#include "design/design_options.h"

#include <string>

namespace kj {

// The texts of the boxes, as typed.
struct DesignSettings {
    std::string beta = "1.00";          // Combo22: redistribution factor of support moments
    std::string cover = "25";           // Combo19: cover of the main bars, mm
    std::string topCount = "2";         // Text78: continuous top bars, count
    std::string topDiameter = "zd";     // Text79: their diameter, "zd" = chosen by the program
    std::string bottomCount = "2";      // Text80: continuous bottom bars, count
    std::string bottomDiameter = "zd";  // Text81
    std::string stirrupLegs = "2";      // Text82: least number of stirrup legs
    std::string stirrupDiameter = "6";  // Text83: starting stirrup diameter, mm
    std::string code = "原方法";         // Combo39: design rule set, "原方法" or "GB50010-2010" ("2010" too)
    std::string fyv = "270";            // Combo40: stirrup fyv of GB 50010-2010, "270" or "360"
    std::string floors = "现浇";        // floors: "现浇" (cast in place) or "装配" (precast)
    std::string environment = "1";      // Combo41: environment class of GB 50010-2010, "1", "2a" or "2b" (一类, 二a, 二b)
    std::string quasiPermanent = "0.4"; // psi_q of the live load in G + psi_q Q (GB 50010-2010 serviceability)
};

// Reads the texts by the number rules: "一般梁" as a cover is 0 mm; a
// diameter "zd", or a count below 1 or a diameter not above 0, leaves the
// continuous bars to the program; stirrup legs or diameter not above 0 are
// chosen by the program. Throws Failure for a redistribution factor outside
// 0 < beta <= 1 (0.75 <= beta <= 1 under GB 50010-2010, 5.4.3), a rule
// set, fyv, floor kind or environment class that is none of the listed ones,
// for fyv 360, precast floors or an environment class other than 一类
// with the default method, which has no use for them, and for a
// quasi-permanent factor outside 0 ... 1.
DesignOptions parseDesignOptions(const DesignSettings& texts);

// Combo21: "1" (by its number value) starts a new report; anything else appends.
enum class ReportRenewal { Append, Renew };
ReportRenewal parseRenewal(const std::string& text);

} // namespace kj
