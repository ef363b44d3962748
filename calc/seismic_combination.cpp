#include "calc/seismic_combination.h"

#include "common/failure.h"
#include "design/gb50011_2010.h"

#include <algorithm>
#include <cmath>

namespace kj {

std::vector<Combination> seismicCombinations(const std::string& setKey, bool liveLoadGiven)
{
    const std::string key = combinationSet(setKey).key;
    const gb50011::SeismicCombinationFactors f =
        key == std::string("GB50009") ? gb50011::combinationFactorsGb50011() : gb50011::combinationFactorsGb55002();
    std::vector<Combination> out;
    for (double gammaG : {f.gammaG, f.gammaGFavourable})
        for (double sign : {1.0, -1.0}) {
            std::vector<CombinationTerm> terms{{LoadCaseKind::G, gammaG}};
            if (liveLoadGiven) terms.push_back({LoadCaseKind::Q, gammaG * gb50011::kLiveLoadCombinationFactor});
            terms.push_back({LoadCaseKind::E, sign * f.gammaEh});
            Combination c;
            c.terms = terms;
            c.name = combinationName(terms);
            out.push_back(c);
        }
    return out;
}

double axialCompressionRatio(double N, const Member& column, double fc)
{
    return N * 1000.0 / (fc * column.b * column.h * 1.0e6);
}

void applySeismicAdjustment(CombinationResult& cr, const FrameModel& model, double fc)
{
    using gb50011::SeismicCheck;
    const double flexure = gb50011::seismicAdjustmentFactor(SeismicCheck::BeamFlexure);
    const double shear = gb50011::seismicAdjustmentFactor(SeismicCheck::Shear);
    for (std::size_t i = 1; i < cr.beams.size(); ++i) {
        BeamDesignForces& b = cr.beams[i];
        b.M1 *= flexure;
        b.M2 *= flexure;
        b.Mo *= flexure;
        b.V1 *= shear;
        b.V2 *= shear;
    }
    for (std::size_t c = 1; c < cr.columns.size(); ++c) {
        ColumnDesignForces& d = cr.columns[c];
        const Member& m = model.member(model.topo.columnMember(static_cast<int>(c)));
        const double ratio = axialCompressionRatio(std::max(std::fabs(d.Ntop), std::fabs(d.Nfoot)), m, fc);
        const double gamma = gb50011::seismicAdjustmentFactor(SeismicCheck::ColumnCompression, ratio);
        d.Mtop *= gamma;
        d.Mbottom *= gamma;
        d.Ntop *= gamma;
        d.Nfoot *= gamma;
    }
}

} // namespace kj
