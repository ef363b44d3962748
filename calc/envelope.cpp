#include "calc/envelope.h"

#include "calc/seismic_combination.h"
#include "calc/serviceability_check.h"
#include "common/failure.h"
#include "design/gb50010_2010.h"
#include "design/materials.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kj {

namespace {

std::size_t z(int i) { return static_cast<std::size_t>(i); }

// Sum of factor x vector, element by element.
std::vector<double> combined(const std::vector<std::pair<double, const std::vector<double>*>>& terms)
{
    std::vector<double> out(terms.front().second->size(), 0.0);
    for (const auto& [f, v] : terms)
        for (std::size_t i = 0; i < out.size(); ++i) out[i] += f * (*v)[i];
    return out;
}

MemberForces combinedAlong(const std::vector<std::pair<double, const MemberForces*>>& terms)
{
    MemberForces out;
    out.length = terms.front().second->length;
    for (const auto& [f, a] : terms) {
        out.M1 += f * a->M1;
        out.V1 += f * a->V1;
        out.N1 += f * a->N1;
        out.N2 += f * a->N2;
        for (const MemberForces::Load& l : a->loads) out.loads.push_back({l.x0, l.x1, f * l.w});
    }
    return out;
}

// The span walk of a beam's combined forces: from the left end to the
// first section where the shear turns from positive to zero or negative
// (inside a loaded length the zero-shear section, at a force the force); at
// the left end when the shear starts at zero or below; at the end of the
// last loaded length when it stays positive. For one case this is the walk
// of the analysis; for loads that all act downward it is the largest
// sagging moment.
double spanWalk(const MemberForces& a)
{
    std::vector<double> xs;
    double lastLoadEnd = 0;
    for (const MemberForces::Load& l : a.loads) {
        xs.push_back(l.x0);
        xs.push_back(l.x1);
        lastLoadEnd = std::max(lastLoadEnd, l.x1);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    double x = 0;
    double V = a.V(0); // just right of the left end, after a force standing there
    if (!(a.V1 > 0) || !(V > 0)) return 0;
    for (double b : xs) {
        if (b <= x) continue;
        const double Vleft = a.V(b, true);
        if (!(Vleft > 0)) return x + V / (V - Vleft) * (b - x); // linear between x and b
        x = b;
        V = a.V(b);
        if (!(V > 0)) return b;
    }
    return std::min(x, lastLoadEnd);
}

InternalForces combineCases(const std::vector<std::pair<double, const InternalForces*>>& terms,
                            const FrameTopology& t)
{
    auto pick = [&](std::vector<double> InternalForces::*field) {
        std::vector<std::pair<double, const std::vector<double>*>> v;
        for (const auto& [f, forces] : terms) v.push_back({f, &(forces->*field)});
        return combined(v);
    };
    InternalForces c;
    c.M1 = pick(&InternalForces::M1);
    c.M2 = pick(&InternalForces::M2);
    c.V1 = pick(&InternalForces::V1);
    c.V2 = pick(&InternalForces::V2);
    c.R = pick(&InternalForces::R);
    c.N = pick(&InternalForces::N);
    c.displacement = pick(&InternalForces::displacement);
    c.jointMoment = pick(&InternalForces::jointMoment);
    c.jointForce = pick(&InternalForces::jointForce);
    c.storeyShear = pick(&InternalForces::storeyShear);
    c.along.assign(z(t.memberCount()) + 1, MemberForces{});
    for (int i = 1; i <= t.memberCount(); ++i) {
        std::vector<std::pair<double, const MemberForces*>> v;
        for (const auto& [f, forces] : terms) v.push_back({f, &forces->along[z(i)]});
        c.along[z(i)] = combinedAlong(v);
    }
    c.Mo.assign(z(t.NB) + 1, 0.0);
    c.X.assign(z(t.NB) + 1, 0.0);
    for (int i = 1; i <= t.NB; ++i) {
        MemberForces& a = c.along[z(i)];
        a.xMax = spanWalk(a);
        c.X[z(i)] = a.xMax;
        c.Mo[z(i)] = a.M(a.xMax);
    }
    return c;
}

// The redistribution factor of a case: beta for the dead and live loads,
// none for the wind and the earthquake.
double caseBeta(LoadCaseKind kind, const DesignOptions& o)
{
    return kind == LoadCaseKind::W || kind == LoadCaseKind::E ? 1.0 : o.beta;
}

// Ties go to the earlier combination.
template <class Key>
int best(std::size_t count, Key key)
{
    int k = 0;
    for (std::size_t j = 1; j < count; ++j)
        if (key(static_cast<int>(j)) > key(k)) k = static_cast<int>(j);
    return k;
}

double steelKey(const ColumnEndDesign& e)
{
    return e.failed() ? std::numeric_limits<double>::infinity() : e.As;
}

} // namespace

EnvelopeResult calculateEnvelope(const std::vector<LoadCaseInput>& inputs, const std::vector<Combination>& combinations,
                                 const std::string& setTitle, const DesignOptions& options, const DesignRules& rules)
{
    if (inputs.empty()) throw Failure("没有荷载工况");
    EnvelopeResult r;
    r.setTitle = setTitle;

    std::vector<const LoadCaseInput*> ordered;
    GivenCases given{};
    for (LoadCaseKind kind : kAllCaseKinds)
        for (const LoadCaseInput& in : inputs)
            if (in.kind == kind) {
                ordered.push_back(&in);
                given[z(static_cast<int>(kind))] = true;
            }
    if (!given[0]) throw Failure("缺少恒载 G 的数据文件: 柱自重计入恒载, 按荷载工况计算时必须给出 G");
    checkCombinationCases(combinations, given);

    // Every case analysed once.
    for (const LoadCaseInput* in : ordered) {
        LoadCaseResult c;
        c.kind = in->kind;
        c.fileName = in->fileName;
        CalculationResult& cr = c.result;
        cr.model = in->model;
        cr.options = options;
        cr.rules = &rules;
        cr.forces = analyse(in->model);
        cr.residuals = equilibriumResiduals(in->model, cr.forces);
        if (!in->model.materials) throw Failure(in->model.materialsFailure);
        cr.materials = *in->model.materials;
        cr.displacements = realDisplacements(in->model, cr.forces, concreteEc(cr.materials.C));
        r.cases.push_back(std::move(c));
    }
    const CalculationResult& g = r.cases.front().result;
    const FrameModel& model = g.model;
    const FrameTopology& t = model.topo;
    auto caseOf = [&](LoadCaseKind kind) -> const CalculationResult& {
        for (const LoadCaseResult& c : r.cases)
            if (c.kind == kind) return c.result;
        throw Failure("没有荷载工况"); // not reached: checked above
    };

    // The design options of the combined forces: the redistribution is
    // already in them.
    DesignOptions combinedOptions = options;
    combinedOptions.beta = 1.0;

    for (const Combination& comb : combinations) {
        CombinationResult cr;
        cr.combination = comb;
        std::vector<std::pair<double, const InternalForces*>> terms;
        for (const CombinationTerm& term : comb.terms) terms.push_back({term.factor, &caseOf(term.kind).forces});
        cr.forces = combineCases(terms, t);
        cr.displacements = realDisplacements(model, cr.forces, g.displacements.Ec);

        cr.beams.assign(z(t.NB) + 1, BeamDesignForces{});
        for (int i = 1; i <= t.NB; ++i) {
            BeamDesignForces& b = cr.beams[z(i)];
            double shed = 0;
            for (const CombinationTerm& term : comb.terms) {
                const InternalForces& f = caseOf(term.kind).forces;
                const double beta = caseBeta(term.kind, options);
                // The default method's redistribution of one case: the support
                // moments x beta, half the moment they shed added to the span.
                const double r1 = (1 - beta) * std::fabs(f.M1[z(i)]);
                const double r2 = (1 - beta) * std::fabs(f.M2[z(i)]);
                b.M1 += term.factor * (beta * f.M1[z(i)]);
                b.M2 += term.factor * (beta * f.M2[z(i)]);
                shed += term.factor * ((r1 + r2) / 2);
            }
            b.V1 = cr.forces.V1[z(i)];
            b.V2 = cr.forces.V2[z(i)];
            b.Mo = cr.forces.Mo[z(i)] + shed;
            b.x = cr.forces.X[z(i)];
        }
        cr.columns.assign(z(t.NC) + 1, ColumnDesignForces{});
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            ColumnDesignForces& d = cr.columns[z(c)];
            d.Mtop = cr.forces.M1[z(i)];
            d.Mbottom = cr.forces.M2[z(i)];
            d.Nfoot = cr.forces.N[z(c)];
            d.Ntop = cr.forces.along[z(i)].N1;
        }
        if (comb.uses(LoadCaseKind::E)) applySeismicAdjustment(cr, model, gb2010::concreteGrade(g.materials.C).fc);
        if (!model.continuousBeam) {
            cr.columnDesigns.assign(z(t.NC) + 1, ColumnDesign{});
            for (int c = 1; c <= t.NC; ++c) {
                const ColumnDesignForces& d = cr.columns[z(c)];
                ColumnInput in{c,      model.member(t.columnMember(c)), d.Mtop, d.Mbottom, d.Nfoot, t.bottomStorey(c),
                               d.Ntop, columnClearLength(model, c)};
                cr.columnDesigns[z(c)] = rules.designColumn(in, g.materials, combinedOptions);
            }
        }
        r.combinations.push_back(std::move(cr));
    }

    // The envelope.
    const std::size_t n = r.combinations.size();
    auto beamForces = [&](int k, int i) -> const BeamDesignForces& { return r.combinations[z(k)].beams[z(i)]; };
    CalculationResult& e = r.envelope;
    e.model = model;
    e.materials = g.materials;
    e.options = options;
    e.rules = &rules;
    InternalForces& ef = e.forces;
    ef.M1.assign(z(t.memberCount()) + 1, 0.0);
    ef.M2 = ef.M1;
    for (auto* v : {&ef.V1, &ef.V2, &ef.Mo, &ef.X}) v->assign(z(t.NB) + 1, 0.0);
    ef.N.assign(z(t.NC) + 1, 0.0);

    r.beamGoverning.assign(z(t.NB) + 1, BeamGoverning{});
    e.beams.assign(z(t.NB) + 1, BeamDesign{});
    for (int i = 1; i <= t.NB; ++i) {
        BeamGoverning& gov = r.beamGoverning[z(i)];
        // Hogging at the left end is a negative M1, at the right end a positive M2.
        gov.leftMoment = best(n, [&](int k) { return -beamForces(k, i).M1; });
        gov.rightMoment = best(n, [&](int k) { return beamForces(k, i).M2; });
        gov.leftShear = best(n, [&](int k) { return std::fabs(beamForces(k, i).V1); });
        gov.rightShear = best(n, [&](int k) { return std::fabs(beamForces(k, i).V2); });
        gov.span = best(n, [&](int k) { return beamForces(k, i).Mo; });
        const BeamInput in{i,
                           model.member(i),
                           beamForces(gov.leftMoment, i).M1,
                           beamForces(gov.rightMoment, i).M2,
                           beamForces(gov.leftShear, i).V1,
                           beamForces(gov.rightShear, i).V2,
                           beamForces(gov.span, i).Mo,
                           beamForces(gov.span, i).x,
                           model.continuousBeam,
                           {}};
        ef.M1[z(i)] = in.M1;
        ef.M2[z(i)] = in.M2;
        ef.V1[z(i)] = in.V1;
        ef.V2[z(i)] = in.V2;
        ef.Mo[z(i)] = in.Mo;
        ef.X[z(i)] = in.x;
        e.beams[z(i)] = rules.designBeam(in, g.materials, combinedOptions);
    }

    if (!model.continuousBeam) {
        r.columnGoverning.assign(z(t.NC) + 1, ColumnGoverning{});
        e.columns.assign(z(t.NC) + 1, ColumnDesign{});
        for (int c = 1; c <= t.NC; ++c) {
            auto design = [&](int k) -> const ColumnDesign& { return r.combinations[z(k)].columnDesigns[z(c)]; };
            auto forces = [&](int k) -> const ColumnDesignForces& { return r.combinations[z(k)].columns[z(c)]; };
            ColumnGoverning& gov = r.columnGoverning[z(c)];
            if (design(0).designed) {
                gov.top = best(n, [&](int k) { return steelKey(design(k).top); });
                gov.bottom = best(n, [&](int k) { return steelKey(design(k).bottom); });
            } else {
                // Not designed (no section): the largest moment at each end.
                gov.top = best(n, [&](int k) { return std::fabs(forces(k).Mtop); });
                gov.bottom = best(n, [&](int k) { return std::fabs(forces(k).Mbottom); });
            }
            ColumnDesign d = design(gov.top);
            d.bottom = design(gov.bottom).bottom;
            e.columns[z(c)] = d;
            const int i = t.columnMember(c);
            ef.M1[z(i)] = forces(gov.top).Mtop;
            ef.M2[z(i)] = forces(gov.bottom).Mbottom;
            ef.N[z(c)] = forces(gov.bottom).Nfoot;
        }
    } else {
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            const int k = best(n, [&](int j) { return std::fabs(r.combinations[z(j)].columns[z(c)].Mtop); });
            ef.M1[z(i)] = r.combinations[z(k)].columns[z(c)].Mtop;
            ef.M2[z(i)] = r.combinations[z(k)].columns[z(c)].Mbottom;
        }
    }

    // Serviceability: the quasi-permanent combination G + psi_q Q (G alone
    // without Q) for the beams, the wind alone for the storey drifts.
    std::vector<CombinationTerm> quasiPermanent{{LoadCaseKind::G, 1.0}};
    if (given[1]) quasiPermanent.push_back({LoadCaseKind::Q, options.quasiPermanentFactor});
    r.quasiPermanentName = combinationName(quasiPermanent);
    std::vector<std::pair<double, const InternalForces*>> terms;
    for (const CombinationTerm& term : quasiPermanent) terms.push_back({term.factor, &caseOf(term.kind).forces});
    std::vector<std::pair<double, const InternalForces*>> characteristic{{1.0, &g.forces}};
    if (given[1]) characteristic.push_back({1.0, &caseOf(LoadCaseKind::Q).forces});
    const InternalForces k = combineCases(characteristic, t);
    checkBeamServiceability(e, combineCases(terms, t), &k);
    if (given[2] && &rules == &gb50010_2010Rules()) r.windDrifts = storeyDrifts(e, caseOf(LoadCaseKind::W).forces);
    return r;
}

std::vector<EnvelopePoint> memberEnvelope(const EnvelopeResult& r, int member, int pieces)
{
    std::vector<double> xs;
    for (const CombinationResult& c : r.combinations) {
        const std::vector<double> s = c.forces.along[z(member)].stations();
        xs.insert(xs.end(), s.begin(), s.end());
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    if (pieces > 1 && xs.size() > 1) {
        std::vector<double> finer{xs.front()};
        for (std::size_t k = 1; k < xs.size(); ++k)
            for (int q = 1; q <= pieces; ++q)
                finer.push_back(q == pieces ? xs[k] : xs[k - 1] + (xs[k] - xs[k - 1]) * q / pieces);
        xs = std::move(finer);
    }
    std::vector<EnvelopePoint> out;
    for (double x : xs) {
        EnvelopePoint p;
        p.x = x;
        bool first = true;
        for (const CombinationResult& c : r.combinations) {
            const MemberForces& a = c.forces.along[z(member)];
            const double M = a.M(x), Vl = a.V(x, true), Vr = a.V(x);
            if (first) {
                p.Mmax = p.Mmin = M;
                p.Vmax = std::max(Vl, Vr);
                p.Vmin = std::min(Vl, Vr);
                first = false;
            }
            p.Mmax = std::max(p.Mmax, M);
            p.Mmin = std::min(p.Mmin, M);
            p.Vmax = std::max({p.Vmax, Vl, Vr});
            p.Vmin = std::min({p.Vmin, Vl, Vr});
        }
        out.push_back(p);
    }
    return out;
}

} // namespace kj
