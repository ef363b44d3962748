#include "calc/envelope.h"

#include "calc/live_load.h"
#include "calc/seismic_combination.h"
#include "calc/seismic_detailing.h"
#include "calc/serviceability_check.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "design/gb50010_2010.h"
#include "design/gb50010_2010_rules.h"
#include "design/gb50011_2010.h"
#include "design/materials.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <limits>
#include <memory>

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
        const SpanMoment s = largestSagging(a);
        a.xMax = s.x;
        c.X[z(i)] = s.x;
        c.Mo[z(i)] = s.M;
    }
    return c;
}

// The redistribution factor of a case: beta for the dead and live loads,
// none for the winds and the earthquake.
double caseBeta(LoadCaseKind kind, const DesignOptions& o)
{
    return kind == LoadCaseKind::G || kind == LoadCaseKind::Q ? o.beta : 1.0;
}

// The sum of a case's storey shears (the joint-load groups on the storeys'
// drifts), kN, positive to the right.
double storeyShearSum(const FrameModel& m)
{
    double sum = 0;
    for (const JointLoadGroup& g : m.jointGroups)
        for (int n : g.numbers)
            if (n > m.topo.NC) sum += g.F;
    return sum;
}

// The drift of every storey under the wind, the larger of W and W2 when
// both are given.
std::vector<StoreyDrift> worseDrifts(std::vector<StoreyDrift> a, const std::vector<StoreyDrift>& b)
{
    for (std::size_t k = 0; k < a.size() && k < b.size(); ++k)
        if (b[k].ratio > a[k].ratio) a[k] = b[k];
    return a;
}

// a beats b: larger, and not within 1e-9 of the larger of the two. Values
// that close are tied, and a tie goes to the state listed first. An
// infinite a (a section that cannot be designed) beats every finite b.
bool beats(double a, double b)
{
    if (std::isinf(a) && !std::isinf(b)) return a > b;
    return a > b && !(a - b <= 1e-9 * std::max(std::fabs(a), std::fabs(b)));
}

// The index of the largest key; ties go to the earlier one.
template <class Key>
int best(std::size_t count, Key key)
{
    int k = 0;
    for (std::size_t j = 1; j < count; ++j)
        if (beats(key(static_cast<int>(j)), key(k))) k = static_cast<int>(j);
    return k;
}

// The index of the state with the largest key, over states listed
// combination by combination. Ties go to the combination listed first;
// within it, to Q as given, then to the layout made for the value
// (preferred), then to the other layouts in order, so that a layout that
// happens to equal another is named for the value it was made for.
template <class Key>
int bestState(const std::vector<Governing>& states, int preferred, Key key)
{
    std::vector<int> order;
    order.reserve(states.size());
    for (std::size_t k = 0; k < states.size();) {
        std::size_t end = k;
        while (end < states.size() && states[end].combination == states[k].combination) ++end;
        order.push_back(static_cast<int>(k)); // Q as given
        for (std::size_t j = k + 1; j < end; ++j)
            if (states[j].pattern == preferred) order.push_back(static_cast<int>(j));
        for (std::size_t j = k + 1; j < end; ++j)
            if (states[j].pattern != preferred) order.push_back(static_cast<int>(j));
        k = end;
    }
    int b = order.front();
    for (int i : order)
        if (beats(key(i), key(b))) b = i;
    return b;
}

double steelKey(const ColumnEndDesign& e)
{
    return e.failed() ? std::numeric_limits<double>::infinity() : e.As;
}

// The seismic part of one combination's design forces: the capacity design
// of the grade (none for grade 0), then γRE.
void seismicDesignForces(CombinationResult& cr, const FrameModel& model, int grade, double fc, bool cornerColumns)
{
    cr.capacity = capacityDesign(model, cr.beams, cr.columns, cr.forces, grade, fc, cornerColumns);
    applyCapacityDesign(cr.beams, cr.columns, cr.capacity);
    applySeismicAdjustment(cr, model, fc);
}

// A seismic combination's column: the shear of 6.2.5 (with γRE for shear)
// and the shear capacity of 11.4.7.
void setSeismicColumnShear(ColumnInput& in, const CombinationResult& cr, int c)
{
    in.seismic = true;
    if (cr.capacity.grade > 0)
        in.V = cr.capacity.columns[z(c)].V *
               gb50011::seismicAdjustmentFactor(gb50011::SeismicCheck::Shear);
}

// The key of a beam end's shear for the envelope: the shear the stirrups
// carry beyond the concrete (αcv ft b h0, 6.3.4, a seismic combination's
// 0.6 of it, 11.3.4; h0 taken as h - 40 mm for the comparison only), kN.
double shearKey(const CombinationResult& cr, double V, const Member& m, double ft, double alphaCv = 0.7)
{
    const double concrete = alphaCv * ft * m.b * (m.h - 0.04) * 1000;
    return std::fabs(V) - (cr.combination.uses(LoadCaseKind::E) ? 0.6 * concrete : concrete);
}

bool anySeismic(const std::vector<CombinationResult>& list)
{
    return std::any_of(list.begin(), list.end(),
                       [](const CombinationResult& c) { return c.combination.uses(LoadCaseKind::E); });
}

// With seismic combinations a column's ties come from the combination that
// needs the most of them (a failed shear first), not from the one whose
// steel governs the top.
void takeLargestShear(ColumnDesign& d, const std::vector<CombinationResult>& list, int c)
{
    auto key = [&](std::size_t k) {
        const ColumnDesign& x = list[k].columnDesigns[z(c)];
        return x.tieTooSmall ? std::numeric_limits<double>::infinity() : x.tieAsvs;
    };
    std::size_t most = 0;
    for (std::size_t k = 1; k < list.size(); ++k)
        if (key(k) > key(most)) most = k;
    const ColumnDesign& from = list[most].columnDesigns[z(c)];
    if (!(key(most) > (d.tieTooSmall ? std::numeric_limits<double>::infinity() : d.tieAsvs))) return;
    d.V = from.V;
    d.tieAsvs = from.tieAsvs;
    d.tieTooSmall = from.tieTooSmall;
    d.ties = from.ties;
    d.tieString = from.tieString;
    for (const std::string& note : from.notes)
        if (note.find("箍筋") != std::string::npos &&
            std::find(d.notes.begin(), d.notes.end(), note) == d.notes.end())
            d.notes.push_back(note);
}

// The live-load layouts made for the values of one beam (-2: none).
struct BeamLayoutIndex {
    int span = -2, leftHogging = -2, rightHogging = -2, leftSagging = -2, rightSagging = -2, leftShear = -2,
        rightShear = -2;
};

// The span is tried at its ends, the ends of its loaded lengths and its
// forces, and at these many equal pieces.
constexpr int kSpanPieces = 20;

struct SpanLayout {
    double x = 0; // the point it was made for, m
    std::vector<char> loaded;
    std::vector<double> Mo; // the span moment of each patterned combination under it
};

// The layouts of Q for the largest sagging moment of a beam. Q is linear,
// so at a point x the largest moment has every beam loaded whose Q alone
// sags the span at x. The points tried: mid-span first, the stations given
// (those of every combination: ends, ends of loaded lengths, forces, the
// largest sagging), kSpanPieces equal pieces, then, while new layouts turn
// up, the points where each patterned combination sags most under a layout
// found (peaks: the forces of each patterned combination under a layout),
// so that the layout of its own largest point is among them. Each layout
// once, with the first point that gave it; kept are the mid-span one and
// those giving some combination its largest span moment.
template <class Peaks>
std::vector<SpanLayout> spanLayouts(const LiveLoadUnits& q, const MemberForces& full, int beam, int NB,
                                    std::vector<double> xs, Peaks peaks)
{
    const double L = full.length;
    std::vector<MemberForces> parts;
    for (std::size_t u = 0; u < q.units.size(); ++u) parts.push_back(unitAlong(q, u, full, beam, true));
    for (int k = 0; k <= kSpanPieces; ++k) xs.push_back(L * k / kSpanPieces);
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    xs.insert(xs.begin(), L / 2);
    std::vector<SpanLayout> out;
    auto consider = [&](double x) {
        std::vector<char> loaded(z(NB) + 1, 0);
        for (std::size_t u = 0; u < parts.size(); ++u)
            if (parts[u].M(x) > 0) loaded[z(q.beams[u])] = 1;
        for (const SpanLayout& s : out)
            if (s.loaded == loaded) return;
        out.push_back({x, std::move(loaded), {}});
    };
    for (double x : xs) consider(x);
    std::size_t next = 0;
    for (int round = 0; next < out.size() && round < 8; ++round)
        for (const std::size_t end = out.size(); next < end; ++next) {
            const std::vector<BeamDesignForces> f = peaks(out[next].loaded);
            for (const BeamDesignForces& b : f) out[next].Mo.push_back(b.Mo);
            for (const BeamDesignForces& b : f) consider(b.x);
        }
    for (; next < out.size(); ++next)
        for (const BeamDesignForces& b : peaks(out[next].loaded)) out[next].Mo.push_back(b.Mo);
    std::vector<char> keep(out.size(), 0);
    keep[0] = 1;
    for (std::size_t k = 0; k < out[0].Mo.size(); ++k)
        keep[z(best(out.size(), [&](int j) { return out[z(j)].Mo[k]; }))] = 1;
    std::vector<SpanLayout> kept;
    for (std::size_t j = 0; j < out.size(); ++j)
        if (keep[j]) kept.push_back(std::move(out[j]));
    return kept;
}

// One case's forces on one beam as a state combines them.
struct BeamTerm {
    double factor = 0, beta = 1;
    double M1 = 0, M2 = 0, V1 = 0, V2 = 0;
    const MemberForces* along = nullptr;
    bool vertical = true; // G or Q: the loads of the simple-span rule
};

// The forces one state designs a beam for: the support moments with the
// redistribution of each case, the largest sagging moment along the beam
// with half the moment shed by the supports, and, when the rule set asks
// for it, at least its share of the simple-span moment of the vertical
// loads. A support marked whole keeps its whole moment (beta = 1 at that
// end: GB 50010-2010 5.4.3, xi above 0.35).
BeamDesignForces beamDesignForces(const std::vector<BeamTerm>& terms, const DesignRules& rules, double beta,
                                  std::array<bool, 2> whole = {})
{
    BeamDesignForces b;
    double shed = 0;
    std::vector<std::pair<double, const MemberForces*>> along;
    for (const BeamTerm& t : terms) {
        // The default method's redistribution of one case: the support
        // moments x beta, half the moment they shed added to the span.
        const double b1 = whole[0] ? 1.0 : t.beta, b2 = whole[1] ? 1.0 : t.beta;
        const double r1 = (1 - b1) * std::fabs(t.M1);
        const double r2 = (1 - b2) * std::fabs(t.M2);
        b.M1 += t.factor * (b1 * t.M1);
        b.M2 += t.factor * (b2 * t.M2);
        shed += t.factor * ((r1 + r2) / 2);
        b.V1 += t.factor * t.V1;
        b.V2 += t.factor * t.V2;
        along.push_back({t.factor, t.along});
    }
    const MemberForces a = combinedAlong(along);
    const SpanMoment s = largestSagging(a);
    b.Mo = s.M + shed;
    b.x = s.x;
    if (rules.spanAtLeastHalfSimple && beta < 1) {
        std::vector<MemberForces::Load> loads;
        for (const BeamTerm& t : terms)
            if (t.vertical)
                for (const MemberForces::Load& l : t.along->loads) loads.push_back({l.x0, l.x1, t.factor * l.w});
        b.Mo = std::max(b.Mo, minimumRedistributedSpanMoment(simpleSpanMoment(loads, a.length)));
    }
    return b;
}

// The bottom steel of a sagging moment at a support, designed as the rule
// set designs a span.
BeamSectionDesign saggingDesign(int beam, const Member& member, double M, const Materials& materials,
                                const DesignOptions& options, const DesignRules& rules)
{
    const BeamInput in{beam, member, 0, 0, 0, 0, M, 0, false, {}, 0};
    return rules.designBeam(in, materials, options).span;
}

// W2 is the wind from the right, taken as given: its storey shears should
// point the other way from W's.
void windDirectionWarnings(const std::vector<const LoadCaseInput*>& cases, std::vector<std::string>& warnings)
{
    const LoadCaseInput *w = nullptr, *w2 = nullptr;
    for (const LoadCaseInput* in : cases) {
        if (in->kind == LoadCaseKind::W) w = in;
        if (in->kind == LoadCaseKind::W2) w2 = in;
    }
    if (w && w2 && storeyShearSum(w->model) * storeyShearSum(w2->model) > 0)
        warnings.push_back("风载 W2 的" + w2->model.fileKind + " " + w2->fileName + " 的层剪力与风载 W 同向: W2 应为右风, 其水平荷载应向左给出 "
                           "(W2 的荷载按所给方向计入, 不反号)");
}

// GB 50011-2010 5.2.4: by the base shear method the earthquake's effects in
// the members of storeys standing on the roof are magnified by 3; the
// members below keep theirs (the increase is not passed down). storeys:
// counted down from the top.
void magnifyPenthouse(InternalForces& f, const FrameTopology& t, int storeys)
{
    constexpr double kPenthouseFactor = 3;
    auto scale = [&](int member) {
        f.M1[z(member)] *= kPenthouseFactor;
        f.M2[z(member)] *= kPenthouseFactor;
        f.along[z(member)] = combinedAlong({{kPenthouseFactor, &f.along[z(member)]}});
    };
    for (int i = 1; i <= t.NB; ++i)
        if (t.beamStorey(i) <= storeys) {
            scale(i);
            f.V1[z(i)] *= kPenthouseFactor;
            f.V2[z(i)] *= kPenthouseFactor;
            f.Mo[z(i)] *= kPenthouseFactor;
        }
    for (int c = 1; c <= t.NC; ++c)
        if (t.columnStorey(c) <= storeys) {
            scale(t.columnMember(c));
            f.N[z(c)] *= kPenthouseFactor;
        }
}

} // namespace

std::string EnvelopeResult::name(const Governing& g) const
{
    std::string n = name(g.combination);
    if (g.pattern >= 0) n += "[" + patterns[z(g.pattern)].name + "]";
    return n;
}

EnvelopeResult calculateEnvelope(const std::vector<LoadCaseInput>& inputs, const std::vector<Combination>& combinations,
                                 const std::string& setTitle, const DesignOptions& options, const DesignRules& rules,
                                 const EnvelopeOptions& envelopeOptions)
{
    if (inputs.empty()) throw Failure("没有荷载工况");
    EnvelopeResult r;
    r.setTitle = setTitle;
    r.envelopeOptions = envelopeOptions;

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
    r.warnings = combinationWarnings(combinations);
    windDirectionWarnings(ordered, r.warnings);
    for (const LoadCaseInput* in : ordered) {
        if (in->kind != LoadCaseKind::W && in->kind != LoadCaseKind::W2) continue;
        std::string beams;
        for (int i = 1; i <= in->model.topo.NB; ++i)
            if (!in->model.loads[z(i)].empty()) beams += (beams.empty() ? "" : "、") + std::to_string(i);
        if (beams.empty()) continue;
        if (in->kind == LoadCaseKind::W)
            r.warnings.push_back("风载 W 的数据文件 " + in->fileName + " 在第 " + beams +
                                 " 号梁上有荷载: W 的全部荷载随 -W (右风) 反号, 梁上的重力荷载应放在 G 或 Q 中");
        else
            r.warnings.push_back("风载 W2 的数据文件 " + in->fileName + " 在第 " + beams +
                                 " 号梁上有荷载: 梁上的重力荷载应放在 G 或 Q 中");
    }

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
        if (in->kind == LoadCaseKind::E && envelopeOptions.penthouseStoreys > 0)
            magnifyPenthouse(cr.forces, in->model.topo, envelopeOptions.penthouseStoreys);
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

    // GB 50010-2010 B.0.4: what each case gives the storeys' sway, once.
    const bool magnify = rules.swaySecondOrder && !model.continuousBeam;
    std::vector<SwayLoading> swayLoadings;
    std::optional<SwayLoading> unitSway;
    if (magnify)
        for (const LoadCaseResult& c : r.cases) swayLoadings.push_back(swayLoading(c.result.model, g.displacements.Ec));
    auto swayOf = [&](LoadCaseKind kind) -> const SwayLoading& {
        for (std::size_t k = 0; k < r.cases.size(); ++k)
            if (r.cases[k].kind == kind) return swayLoadings[k];
        throw Failure("没有荷载工况"); // not reached: checked above
    };

    // The terms of one state on beam i, with Q as given or as a layout
    // gives it (q), and the sway moment (etaS - 1) Ms of the combination.
    auto beamTerms = [&](const CombinationResult& cr, int i, const BeamTerm* q) {
        const Combination& comb = cr.combination;
        std::vector<BeamTerm> terms;
        for (const CombinationTerm& term : comb.terms) {
            const InternalForces& f = caseOf(term.kind).forces;
            BeamTerm b{term.factor, caseBeta(term.kind, options), f.M1[z(i)], f.M2[z(i)], f.V1[z(i)], f.V2[z(i)],
                       &f.along[z(i)], term.kind == LoadCaseKind::G || term.kind == LoadCaseKind::Q};
            if (term.kind == LoadCaseKind::Q && q) {
                b = *q;
                b.factor = term.factor;
            }
            terms.push_back(b);
        }
        if (cr.sway.loaded) {
            const InternalForces& h = cr.sway.horizontal;
            terms.push_back({beamSwayFactor(model, cr.sway, i) - 1, 1.0, h.M1[z(i)], h.M2[z(i)], h.V1[z(i)],
                             h.V2[z(i)], &h.along[z(i)], false});
        }
        return terms;
    };
    // The forces of one state on column c, with Q as given or as a layout
    // gives it (q: top and bottom moments, axial force).
    struct ColumnQ {
        double M1 = 0, M2 = 0, N = 0;
    };
    auto columnForces = [&](const CombinationResult& cr, int c, const ColumnQ* q) {
        const int i = t.columnMember(c);
        ColumnDesignForces d;
        for (const CombinationTerm& term : cr.combination.terms) {
            const InternalForces& f = caseOf(term.kind).forces;
            if (term.kind == LoadCaseKind::Q && q) {
                d.Mtop += term.factor * q->M1;
                d.Mbottom += term.factor * q->M2;
                d.Nfoot += term.factor * q->N;
                d.Ntop += term.factor * q->N; // Q carries no self-weight
            } else {
                d.Mtop += term.factor * f.M1[z(i)];
                d.Mbottom += term.factor * f.M2[z(i)];
                d.Nfoot += term.factor * f.N[z(c)];
                d.Ntop += term.factor * f.along[z(i)].N1;
            }
        }
        if (cr.sway.loaded) {
            const double k = cr.sway.storeys[z(t.columnStorey(c))].etaS - 1;
            d.Mtop += k * cr.sway.horizontal.M1[z(i)];
            d.Mbottom += k * cr.sway.horizontal.M2[z(i)];
        }
        return d;
    };
    // A seismic combination's column (cr) takes the shear of its capacity
    // design.
    auto designColumn = [&](int c, const ColumnDesignForces& d, const CombinationResult& cr) {
        ColumnInput in{c,      model.member(t.columnMember(c)), d.Mtop, d.Mbottom, d.Nfoot, t.bottomStorey(c),
                       d.Ntop, columnClearLength(model, c)};
        if (cr.combination.uses(LoadCaseKind::E)) setSeismicColumnShear(in, cr, c);
        ColumnDesign design = rules.designColumn(in, g.materials, combinedOptions);
        if (magnify) design.top.etaS = design.bottom.etaS = cr.sway.storeys[z(t.columnStorey(c))].etaS;
        return design;
    };

    for (const Combination& comb : combinations) {
        CombinationResult cr;
        cr.combination = comb;
        std::vector<std::pair<double, const InternalForces*>> terms;
        for (const CombinationTerm& term : comb.terms) terms.push_back({term.factor, &caseOf(term.kind).forces});
        cr.forces = combineCases(terms, t);
        cr.displacements = realDisplacements(model, cr.forces, g.displacements.Ec);
        if (magnify) {
            std::vector<std::pair<double, const SwayLoading*>> sway;
            std::vector<std::pair<double, const InternalForces*>> horizontal;
            for (const CombinationTerm& term : comb.terms) {
                sway.push_back({term.factor, &swayOf(term.kind)});
                horizontal.push_back({term.factor, &swayOf(term.kind).horizontal});
            }
            try {
                cr.sway = combinedSway(model, cr.forces.N, sway, g.displacements.Ec, unitSway);
            } catch (const Failure& f) {
                throw Failure("组合 " + comb.name + ": " + f.what());
            }
            if (cr.sway.loaded) cr.sway.horizontal = combineCases(horizontal, t);
        }

        cr.beams.assign(z(t.NB) + 1, BeamDesignForces{});
        for (int i = 1; i <= t.NB; ++i)
            cr.beams[z(i)] = beamDesignForces(beamTerms(cr, i, nullptr), rules, options.beta);
        cr.columns.assign(z(t.NC) + 1, ColumnDesignForces{});
        for (int c = 1; c <= t.NC; ++c) cr.columns[z(c)] = columnForces(cr, c, nullptr);
        const bool seismic = comb.uses(LoadCaseKind::E);
        if (seismic)
            seismicDesignForces(cr, model, envelopeOptions.seismicGrade, gb2010::concreteGrade(g.materials.C).fc,
                                envelopeOptions.cornerColumns);
        if (!model.continuousBeam) {
            cr.columnDesigns.assign(z(t.NC) + 1, ColumnDesign{});
            for (int c = 1; c <= t.NC; ++c) cr.columnDesigns[z(c)] = designColumn(c, cr.columns[z(c)], cr);
        }
        r.combinations.push_back(std::move(cr));
    }

    // The live load span by span, when asked for and used. A seismic
    // combination takes Q in the gravity load as given, never patterned.
    auto patterned = [](const Combination& c) { return c.uses(LoadCaseKind::Q) && !c.uses(LoadCaseKind::E); };
    std::shared_ptr<const LiveLoadUnits> units;
    const bool usesQ = std::any_of(combinations.begin(), combinations.end(), patterned);
    if (envelopeOptions.liveLoadPatterns && given[z(static_cast<int>(LoadCaseKind::Q))] && usesQ)
        units = std::make_shared<const LiveLoadUnits>(liveLoadUnits(caseOf(LoadCaseKind::Q).model));
    r.liveLoad = units;
    auto addPattern = [&](std::string name, std::vector<char> loaded) {
        r.patterns.push_back({std::move(name), std::move(loaded)});
        return static_cast<int>(r.patterns.size()) - 1;
    };
    // Every state of a member in the order they are listed: each
    // combination with Q as given, then with each layout of the member.
    auto statesOf = [&](const std::vector<int>& layouts) {
        std::vector<Governing> states;
        for (std::size_t k = 0; k < r.combinations.size(); ++k) {
            states.push_back({static_cast<int>(k), -1});
            if (patterned(r.combinations[k].combination))
                for (int p : layouts) states.push_back({static_cast<int>(k), p});
        }
        return states;
    };

    // The envelope.
    CalculationResult& e = r.envelope;
    e.model = model;
    e.materials = g.materials;
    e.options = options;
    e.rules = &rules;
    // The storeys' sway magnifiers reported: the largest of each storey over
    // the combinations with horizontal forces (over all without any).
    if (magnify) {
        const bool anyLoaded = std::any_of(r.combinations.begin(), r.combinations.end(),
                                           [](const CombinationResult& c) { return c.sway.loaded; });
        e.sway.assign(z(t.NF) + 1, SwayStorey{});
        for (int J = 1; J <= t.NF; ++J) {
            const CombinationResult* most = nullptr;
            for (const CombinationResult& c : r.combinations)
                if ((c.sway.loaded || !anyLoaded) &&
                    (!most || beats(c.sway.storeys[z(J)].etaS, most->sway.storeys[z(J)].etaS)))
                    most = &c;
            e.sway[z(J)] = most->sway.storeys[z(J)];
            e.sway[z(J)].governing = most->combination.name;
            // JGJ 3-2010 5.4.4 is checked in every combination: the one with
            // the least margin Di / (10 sumN / H0) is the one reported.
            const CombinationResult* least = most;
            auto margin = [&](const CombinationResult& c) {
                const SwayStorey& s = c.sway.storeys[z(J)];
                return s.stabilityLimit > 0 ? s.elasticD / s.stabilityLimit : INFINITY;
            };
            for (const CombinationResult& c : r.combinations)
                if (c.sway.storeys.size() > z(J) && margin(c) < margin(*least)) least = &c;
            if (least != most) {
                e.sway[z(J)].elasticD = least->sway.storeys[z(J)].elasticD;
                e.sway[z(J)].stabilityLimit = least->sway.storeys[z(J)].stabilityLimit;
                e.sway[z(J)].stabilityGoverning = least->combination.name;
            }
        }
    }
    InternalForces& ef = e.forces;
    ef.M1.assign(z(t.memberCount()) + 1, 0.0);
    ef.M2 = ef.M1;
    for (auto* v : {&ef.V1, &ef.V2, &ef.Mo, &ef.X}) v->assign(z(t.NB) + 1, 0.0);
    ef.N.assign(z(t.NC) + 1, 0.0);

    const bool seismicList = anySeismic(r.combinations);
    const double ft = seismicList || (model.continuousBeam && &rules == &gb50010_2010Rules())
                          ? gb2010::concreteGrade(g.materials.C).ft
                          : 0.0;
    r.beamGoverning.assign(z(t.NB) + 1, BeamGoverning{});
    r.supportSagging.assign(z(t.NB) + 1, BeamSupportSagging{});
    e.beams.assign(z(t.NB) + 1, BeamDesign{});
    for (int i = 1; i <= t.NB; ++i) {
        const Member& member = model.member(i);
        // The layouts of this beam's values, each by the rule "a beam loaded
        // where its Q adds to the value": the span's sagging moment (one
        // layout for each point where it may be largest), the hogging and
        // the sagging moment at each end, the shear at each end either way.
        std::vector<int> layouts;
        std::size_t spanCount = 0;
        BeamLayoutIndex made;
        // Q of each layout on this beam, summed once for every combination.
        std::deque<MemberForces> qAlong;
        std::vector<BeamTerm> qTerms;
        auto qTerm = [&](const std::vector<char>& loaded) {
            qAlong.push_back(layoutAlong(*units, loaded, caseOf(LoadCaseKind::Q).forces.along[z(i)], i));
            return BeamTerm{0, caseBeta(LoadCaseKind::Q, options), units->sum(loaded, &UnitForces::M1, i),
                            units->sum(loaded, &UnitForces::M2, i), units->sum(loaded, &UnitForces::V1, i),
                            units->sum(loaded, &UnitForces::V2, i), &qAlong.back(), true};
        };
        if (units) {
            const std::string beam = std::to_string(i);
            // Where each patterned combination sags most along the beam
            // under a layout.
            auto peaks = [&](const std::vector<char>& loaded) {
                const BeamTerm q = qTerm(loaded);
                std::vector<BeamDesignForces> forces;
                for (const CombinationResult& cr : r.combinations)
                    if (patterned(cr.combination))
                        forces.push_back(beamDesignForces(beamTerms(cr, i, &q), rules, options.beta));
                qAlong.pop_back();
                return forces;
            };
            std::vector<double> xs;
            for (const CombinationResult& cr : r.combinations) {
                const std::vector<double> s = cr.forces.along[z(i)].stations();
                xs.insert(xs.end(), s.begin(), s.end());
            }
            const std::vector<SpanLayout> spans =
                spanLayouts(*units, caseOf(LoadCaseKind::Q).forces.along[z(i)], i, t.NB, xs, peaks);
            for (const SpanLayout& sl : spans)
                layouts.push_back(addPattern(
                    "跨" + beam + (&sl == &spans.front() ? std::string() : "@" + fixedText(sl.x, 2)), sl.loaded));
            spanCount = layouts.size();
            auto add = [&](const char* what, auto contribution) {
                layouts.push_back(addPattern("梁" + beam + what, units->layout(t.NB, contribution)));
                return layouts.back();
            };
            made.leftHogging = add("左负", [&](const UnitForces& u, int) { return -u.M1[z(i)]; });
            made.rightHogging = add("右负", [&](const UnitForces& u, int) { return u.M2[z(i)]; });
            made.leftSagging = add("左正", [&](const UnitForces& u, int) { return u.M1[z(i)]; });
            made.rightSagging = add("右正", [&](const UnitForces& u, int) { return -u.M2[z(i)]; });
            made.leftShear = add("左剪+", [&](const UnitForces& u, int) { return u.V1[z(i)]; });
            add("左剪-", [&](const UnitForces& u, int) { return -u.V1[z(i)]; });
            made.rightShear = add("右剪-", [&](const UnitForces& u, int) { return -u.V2[z(i)]; });
            add("右剪+", [&](const UnitForces& u, int) { return u.V2[z(i)]; });
        }
        for (int p : layouts) qTerms.push_back(qTerm(r.patterns[z(p)].loaded));
        const std::vector<Governing> states = statesOf(layouts);
        // The terms of every state, with every support redistributed.
        auto termsOf = [&](const Governing& s) {
            if (s.pattern < 0) return beamTerms(r.combinations[z(s.combination)], i, nullptr);
            const std::size_t p =
                z(static_cast<int>(std::find(layouts.begin(), layouts.end(), s.pattern) - layouts.begin()));
            return beamTerms(r.combinations[z(s.combination)], i, &qTerms[p]);
        };
        // The forces of every state; whole: the supports that keep their
        // whole moment.
        auto stateForces = [&](std::array<bool, 2> whole) {
            std::vector<BeamDesignForces> forces;
            forces.reserve(states.size());
            for (const Governing& s : states) {
                const CombinationResult& cr = r.combinations[z(s.combination)];
                if (s.pattern >= 0) {
                    forces.push_back(beamDesignForces(termsOf(s), rules, options.beta, whole));
                } else if (!whole[0] && !whole[1]) {
                    forces.push_back(cr.beams[z(i)]);
                } else if (!cr.combination.uses(LoadCaseKind::E)) {
                    forces.push_back(beamDesignForces(beamTerms(cr, i, nullptr), rules, options.beta, whole));
                } else {
                    // A seismic state keeps its capacity design: its support
                    // takes back the moment the vertical loads shed, with
                    // γRE; the span keeps the shed moment (on the safe side).
                    BeamDesignForces f = cr.beams[z(i)];
                    const double gamma = gb50011::seismicAdjustmentFactor(gb50011::SeismicCheck::BeamFlexure);
                    for (const BeamTerm& term : beamTerms(cr, i, nullptr)) {
                        if (whole[0]) f.M1 += gamma * term.factor * (1 - term.beta) * term.M1;
                        if (whole[1]) f.M2 += gamma * term.factor * (1 - term.beta) * term.M2;
                    }
                    forces.push_back(f);
                }
            }
            return forces;
        };
        // GB 50010-2010 6.3.4: the supports of an independent beam (a
        // continuous beam) take the concrete share of their shear with the
        // factor of the loads of each state, 1.75/(λ+1) where concentrated
        // loads cause more than 75 % of it; the loads of each state, for it.
        const bool independentShear = model.continuousBeam && &rules == &gb50010_2010Rules();
        std::vector<std::vector<MemberForces::Load>> stateLoads(independentShear ? states.size() : 0);
        for (std::size_t k = 0; k < stateLoads.size(); ++k) {
            std::vector<std::pair<double, const MemberForces*>> along;
            for (const BeamTerm& term : termsOf(states[k])) along.push_back({term.factor, term.along});
            stateLoads[k] = combinedAlong(along).loads;
        }
        std::vector<BeamDesignForces> forces = stateForces({});
        if (spanCount > 0) made.span = layouts.front();
        // The governing states, the design and the sagging at the supports;
        // whole: the supports that keep their whole moment (beta 1).
        auto settle = [&](std::array<bool, 2> whole) {
            BeamGoverning& gov = r.beamGoverning[z(i)];
            // Hogging at the left end is a negative M1, at the right end a positive M2.
            const int leftMoment = bestState(states, made.leftHogging, [&](int k) { return -forces[z(k)].M1; });
            const int rightMoment = bestState(states, made.rightHogging, [&](int k) { return forces[z(k)].M2; });
            // With seismic combinations, and at the supports of an independent
            // beam, the shears compare by what the stirrups carry (shearKey).
            auto shear = [&](int k, double V, bool left) {
                if (!seismicList && !independentShear) return std::fabs(V);
                double alphaCv = 0.7;
                if (independentShear) {
                    BeamInput in{i, member, 0, 0, 0, 0, 0, 0, true, stateLoads[z(k)]};
                    const double a = gb2010::concentratedLoadDistance(in, left);
                    if (a > 0) alphaCv = gb2010::concentratedLoadShearFactor(a, 1000 * member.h - 40);
                }
                return shearKey(r.combinations[z(states[z(k)].combination)], V, member, ft, alphaCv);
            };
            const int leftShear =
                bestState(states, made.leftShear, [&](int k) { return shear(k, forces[z(k)].V1, true); });
            const int rightShear =
                bestState(states, made.rightShear, [&](int k) { return shear(k, forces[z(k)].V2, false); });
            const int span = bestState(states, made.span, [&](int k) { return forces[z(k)].Mo; });
            gov = {states[z(leftMoment)], states[z(leftShear)],  states[z(rightMoment)], states[z(rightShear)],
                   states[z(span)],       forces[z(leftMoment)], forces[z(leftShear)],  forces[z(rightMoment)],
                   forces[z(rightShear)], forces[z(span)]};
            BeamInput in{i,
                         member,
                         forces[z(leftMoment)].M1,
                         forces[z(rightMoment)].M2,
                         forces[z(leftShear)].V1,
                         forces[z(rightShear)].V2,
                         forces[z(span)].Mo,
                         forces[z(span)].x,
                         model.continuousBeam,
                         {},
                         0, // the simple-span rule is already in Mo
                         r.combinations[z(states[z(leftShear)].combination)].combination.uses(LoadCaseKind::E),
                         r.combinations[z(states[z(rightShear)].combination)].combination.uses(LoadCaseKind::E)};
            if (independentShear) {
                in.loads = stateLoads[z(leftShear)];
                in.rightLoads = stateLoads[z(rightShear)];
            }
            ef.M1[z(i)] = in.M1;
            ef.M2[z(i)] = in.M2;
            ef.V1[z(i)] = in.V1;
            ef.V2[z(i)] = in.V2;
            ef.Mo[z(i)] = in.Mo;
            ef.X[z(i)] = in.x;
            BeamDesign& d = e.beams[z(i)];
            d = rules.designBeam(in, g.materials, combinedOptions);
            // The redistribution applied: beta on G and Q at a support, 1
            // where it keeps its whole moment (the design itself saw the
            // forces already redistributed).
            d.left.beta = whole[0] ? 1.0 : options.beta;
            d.right.beta = whole[1] ? 1.0 : options.beta;

            // Sagging at the supports: a positive M1 at the left end, a negative
            // M2 at the right end, designed as bottom steel.
            if (d.designed) {
                auto sagging = [&](SupportSagging& out, int preferred, auto moment) {
                    const int k = bestState(states, preferred, [&](int j) { return moment(forces[z(j)]); });
                    const double M = moment(forces[z(k)]);
                    if (!(M > 0)) return;
                    out = {true, M, states[z(k)], saggingDesign(i, member, M, g.materials, combinedOptions, rules)};
                };
                sagging(r.supportSagging[z(i)].left, made.leftSagging, [](const BeamDesignForces& b) { return b.M1; });
                sagging(r.supportSagging[z(i)].right, made.rightSagging,
                        [](const BeamDesignForces& b) { return -b.M2; });
            }
        };
        settle({});
        // GB 50010-2010 5.4.3: a support whose redistributed section has xi
        // above 0.35 keeps its whole moment in every state, and the span
        // loses what that support shed.
        if (rules.redistributionXiLimit > 0 && options.beta < 1 && e.beams[z(i)].designed) {
            const BeamDesign& d = e.beams[z(i)];
            auto over = [&](const BeamSectionDesign& x) { return !x.failed() && x.xi > rules.redistributionXiLimit; };
            const std::array<bool, 2> whole{over(d.left), over(d.right)};
            if (whole[0] || whole[1]) {
                std::vector<std::string> notes;
                if (whole[0]) notes.push_back(redistributionLimitNote("左", d.left.xi));
                if (whole[1]) notes.push_back(redistributionLimitNote("右", d.right.xi));
                r.supportSagging[z(i)] = {};
                forces = stateForces(whole);
                settle(whole);
                std::vector<std::string>& out = e.beams[z(i)].notes;
                out.insert(out.begin(), notes.begin(), notes.end());
            }
        }
    }

    if (!model.continuousBeam) {
        r.columnGoverning.assign(z(t.NC) + 1, ColumnGoverning{});
        e.columns.assign(z(t.NC) + 1, ColumnDesign{});
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            // The layouts of the column's values: the moment of each end
            // either way, and the axial force (the same at both ends: Q
            // carries no self-weight) at its largest and its least.
            std::vector<int> layouts;
            if (units) {
                const std::string col = "柱" + std::to_string(c);
                auto add = [&](const std::string& what, auto contribution) {
                    layouts.push_back(addPattern(col + what, units->layout(t.NB, contribution)));
                };
                add("上+", [&](const UnitForces& u, int) { return u.M1[z(i)]; });
                add("上-", [&](const UnitForces& u, int) { return -u.M1[z(i)]; });
                add("下+", [&](const UnitForces& u, int) { return u.M2[z(i)]; });
                add("下-", [&](const UnitForces& u, int) { return -u.M2[z(i)]; });
                add("Nmax", [&](const UnitForces& u, int) { return u.N[z(c)]; });
                add("Nmin", [&](const UnitForces& u, int) { return -u.N[z(c)]; });
            }
            std::vector<ColumnQ> qForces;
            for (int p : layouts) {
                const std::vector<char>& loaded = r.patterns[z(p)].loaded;
                qForces.push_back({units->sum(loaded, &UnitForces::M1, i), units->sum(loaded, &UnitForces::M2, i),
                                   units->sum(loaded, &UnitForces::N, c)});
            }
            const std::vector<Governing> states = statesOf(layouts);
            std::vector<ColumnDesignForces> forces;
            forces.reserve(states.size());
            for (const Governing& s : states) {
                const CombinationResult& cr = r.combinations[z(s.combination)];
                if (s.pattern < 0) forces.push_back(cr.columns[z(c)]);
                else {
                    const std::size_t p = z(static_cast<int>(
                        std::find(layouts.begin(), layouts.end(), s.pattern) - layouts.begin()));
                    forces.push_back(columnForces(cr, c, &qForces[p]));
                }
            }
            const std::size_t n = states.size();
            ColumnGoverning& gov = r.columnGoverning[z(c)];

            // The force sets of each end.
            auto made = [&](std::size_t k) { return k < layouts.size() ? layouts[k] : -2; };
            auto sets = [&](ColumnEndForceSets& out, int preferred, auto moment, auto axial) {
                auto pair = [&](int k) {
                    return ColumnForcePair{moment(forces[z(k)]), axial(forces[z(k)]), states[z(k)]};
                };
                out.maxMoment =
                    pair(bestState(states, preferred, [&](int k) { return std::fabs(moment(forces[z(k)])); }));
                out.maxAxial = pair(bestState(states, made(4), [&](int k) { return axial(forces[z(k)]); }));
                out.minAxial = pair(bestState(states, made(5), [&](int k) { return -axial(forces[z(k)]); }));
            };
            auto top = [](const ColumnDesignForces& d) { return d.Mtop; };
            auto bottom = [](const ColumnDesignForces& d) { return d.Mbottom; };
            sets(gov.topSets, made(0), top, [](const ColumnDesignForces& d) { return d.Ntop; });
            sets(gov.bottomSets, made(2), bottom, [](const ColumnDesignForces& d) { return d.Nfoot; });

            // Each end designed for every state: every combination with Q as
            // given and with each layout above, so that the pairs (|M|max, N),
            // (Nmax, M) and (Nmin, M) of every combination are all designed:
            // with symmetric steel As grows with M at a given N, but with N
            // only in small eccentricity (in large eccentricity and in tension
            // the least N needs the most). The largest steel governs;
            // among states needing the same steel (the least steel, often),
            // the one with the largest moment at that end, then the first.
            ColumnDesign topDesign, bottomDesign;
            int topState = -1, bottomState = -1;
            for (std::size_t k = 0; k < n; ++k) {
                const Governing& s = states[k];
                const ColumnDesign d = s.pattern < 0 ? r.combinations[z(s.combination)].columnDesigns[z(c)]
                                                     : designColumn(c, forces[k], r.combinations[z(s.combination)]);
                auto better = [&](const ColumnEndDesign& mine, double myM, int current, const ColumnEndDesign& theirs,
                                  double theirM) {
                    if (current < 0) return true;
                    if (!d.designed) return beats(std::fabs(myM), std::fabs(theirM));
                    const double a = steelKey(mine), b = steelKey(theirs);
                    if (beats(a, b)) return true;
                    if (beats(b, a)) return false;
                    return beats(std::fabs(myM), std::fabs(theirM));
                };
                if (better(d.top, forces[k].Mtop, topState, topDesign.top,
                           topState < 0 ? 0 : forces[z(topState)].Mtop)) {
                    topDesign = d;
                    topState = static_cast<int>(k);
                }
                if (better(d.bottom, forces[k].Mbottom, bottomState, bottomDesign.bottom,
                           bottomState < 0 ? 0 : forces[z(bottomState)].Mbottom)) {
                    bottomDesign = d;
                    bottomState = static_cast<int>(k);
                }
            }
            gov.top = states[z(topState)];
            gov.bottom = states[z(bottomState)];
            gov.topForces = forces[z(topState)];
            gov.bottomForces = forces[z(bottomState)];
            gov.topSets.design = {forces[z(topState)].Mtop, forces[z(topState)].Ntop, gov.top};
            gov.bottomSets.design = {forces[z(bottomState)].Mbottom, forces[z(bottomState)].Nfoot, gov.bottom};
            ColumnDesign d = topDesign;
            d.bottom = bottomDesign.bottom;
            // The lines of each end from the state designing it.
            auto footNote = [](const std::string& note) { return note.rfind("    柱底", 0) == 0; };
            d.notes.erase(std::remove_if(d.notes.begin(), d.notes.end(), footNote), d.notes.end());
            for (const std::string& note : bottomDesign.notes)
                if (footNote(note)) d.notes.push_back(note);
            if (seismicList && d.designed) takeLargestShear(d, r.combinations, c);
            e.columns[z(c)] = d;
            ef.M1[z(i)] = forces[z(topState)].Mtop;
            ef.M2[z(i)] = forces[z(bottomState)].Mbottom;
            ef.N[z(c)] = forces[z(bottomState)].Nfoot;
        }
    } else {
        const std::size_t n = r.combinations.size();
        for (int c = 1; c <= t.NC; ++c) {
            const int i = t.columnMember(c);
            const int k = best(n, [&](int j) { return std::fabs(r.combinations[z(j)].columns[z(c)].Mtop); });
            ef.M1[z(i)] = r.combinations[z(k)].columns[z(c)].Mtop;
            ef.M2[z(i)] = r.combinations[z(k)].columns[z(c)].Mbottom;
        }
    }

    // The steel the seismic detailing asks for, before the serviceability checks of the bars.
    applySeismicDetailing(r);
    // The joint cores of grades 1 to 3, with the column ties as detailed.
    r.joints = jointCoreChecks(r, envelopeOptions.intensityNine);

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
    if (&rules == &gb50010_2010Rules()) {
        const bool w = given[z(static_cast<int>(LoadCaseKind::W))], w2 = given[z(static_cast<int>(LoadCaseKind::W2))];
        if (w) r.windDrifts = storeyDrifts(e, caseOf(LoadCaseKind::W).forces);
        if (w2) r.windDrifts = worseDrifts(w ? r.windDrifts : storeyDrifts(e, caseOf(LoadCaseKind::W2).forces),
                                           storeyDrifts(e, caseOf(LoadCaseKind::W2).forces));
    }
    return r;
}

} // namespace kj
