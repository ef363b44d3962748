#include "analysis/frame_model.h"

#include "common/failure.h"
#include "common/numbers.h"
#include "common/text.h"

#include <Eigen/SparseCholesky>

#include <cmath>
#include <string>
#include <utility>

namespace kj {

namespace {

std::string num(double x) { return shortestDecimal(x); }

bool isBlankText(const std::string& s) { return s.find_first_not_of(" \t") == std::string::npos; }

// Loaded lengths may run up to the right end of the span; a millimetre is
// allowed for the rounding of the typed lengths.
constexpr double kSpanTolerance = 1e-3;

} // namespace

std::vector<LoadEntry> spanLoadEntries(const std::string& item, double S, int beam, const std::string& fileName)
{
    std::vector<LoadEntry> out;
    const std::size_t len = charCount(item);
    if (len == 1) return out;
    const std::string where = "数据文件 " + fileName + ": 第 " + std::to_string(beam) + " 号梁的荷载项 " + quoteForMessage(item);
    int n = indexValue(charAt(item, 1));
    if (n < 0) n = 0;
    const bool mirror = charAt(item, len) == "A";
    if (n > kMaxLoadEntries || (mirror && 2 * n - 1 > kMaxLoadEntries))
        throw Failure(where + " 的荷载个数超过每跨 " + std::to_string(kMaxLoadEntries) + " 个的上限");
    const bool shortItem = len < 7;

    std::vector<double> w(1, 0.0), a(1, 0.0), r(1, S); // entry 0: zero length at the left end
    std::size_t p = 2;
    for (int k = 1; k <= n; ++k) {
        std::string s = charSlice(item, p, 9);
        if (charAt(s, 6) == "P" || charAt(s, 1) == "*") s = charSlice(s, 1, 6);
        if (charAt(s, 3) == "P") s = charSlice(s, 1, 3);
        p += charCount(s);
        double wk = numberValue(charSlice(s, 1, 5));
        double ak = numberValue(charSlice(s, 6, 4));
        if (charAt(s, 1) == "*") {
            int m = indexValue(charAt(s, 2));
            wk = (m >= 1 && m < k) ? w[static_cast<std::size_t>(m)] : 0.0;
            ak = numberValue(charSlice(s, 3, 4));
        }
        double rk = r.back() - a.back() / 2 - ak / 2;
        if (shortItem) {
            ak = S;
            rk = S / 2;
        }
        w.push_back(wk);
        a.push_back(ak);
        r.push_back(rk);
    }
    if (mirror) {
        for (int k = n + 1; k <= 2 * n - 1; ++k) {
            std::size_t src = static_cast<std::size_t>(2 * n - k);
            double ak = a[src];
            double rk = r.back() - a.back() / 2 - ak / 2;
            w.push_back(w[src]);
            a.push_back(ak);
            r.push_back(rk);
        }
    }
    for (std::size_t k = 1; k < w.size(); ++k) {
        if (!std::isfinite(w[k]) || !std::isfinite(a[k]))
            throw Failure(where + " 的数值超出范围");
        if (a[k] < 0)
            throw Failure(where + " 的第 " + std::to_string(k) + " 个荷载长度为负");
        double left = S - r[k] - a[k] / 2;
        double right = S - r[k] + a[k] / 2;
        if (left < -kSpanTolerance || right > S + kSpanTolerance)
            throw Failure(where + " 的第 " + std::to_string(k) + " 个荷载超出跨度 " + num(S) +
                          " m (荷载段自左端 " + num(left) + " m 至 " + num(right) + " m)");
        out.push_back({w[k], a[k], r[k]});
    }
    return out;
}

void applyContinuousBeamProps(FrameModel& m)
{
    if (!m.continuousBeam) return;
    // Continuous beam: the columns become slender props; the end fixity
    // code clamps the chosen end with a massive prop.
    const FrameTopology& t = m.topo;
    const int members = t.memberCount();
    for (int i = t.NB + 1; i <= members; ++i) m.members[static_cast<std::size_t>(i)] = {10.0, 0.05, 0.05};
    const bool left = m.NZ == 1 || m.NZ == 3;
    const bool right = m.NZ == 2 || m.NZ == 3;
    if (left) m.members[static_cast<std::size_t>(t.NB + 1)] = {10.0, 2.0, 2.0};
    if (right) m.members[static_cast<std::size_t>(members)] = {10.0, 2.0, 2.0};
}

void setJointCoordinates(FrameModel& m)
{
    // Column lines from the spans of the top storey (every storey has the
    // same spans), levels from the storey heights.
    const FrameTopology& t = m.topo;
    m.x.assign(static_cast<std::size_t>(t.L) + 1, 0.0);
    for (int k = 1; k <= t.L; ++k)
        m.x[static_cast<std::size_t>(k)] = m.x[static_cast<std::size_t>(k - 1)] + m.member(k).len;
    m.y.assign(static_cast<std::size_t>(t.NF) + 2, 0.0);
    for (int J = t.NF; J >= 1; --J)
        m.y[static_cast<std::size_t>(J)] =
            m.y[static_cast<std::size_t>(J + 1)] + m.member(t.columnMember(t.firstColumnOfStorey(J))).len;
}

FrameModel buildModel(const FrameData& d)
{
    FrameModel m;
    m.fileName = d.fileName;
    m.name = d.name;
    m.topo = FrameTopology::of(d.L, d.NF);
    const FrameTopology& t = m.topo;
    m.continuousBeam = d.continuousBeam();
    // Only the codes 1, 2 and 3 fix an end; any other value fixes none.
    m.NZ = (d.NZ == 1 || d.NZ == 2 || d.NZ == 3) ? static_cast<int>(d.NZ) : 0;
    const std::string where = "数据文件 " + d.fileName + ": ";
    const int members = t.memberCount();

    // Length numbers expanded to one digit per member: the span digits for
    // every storey's beams, then each storey's height digit for its columns.
    auto lengthEntry = [&](int k) {
        return (k >= 1 && k <= 9) ? numberValue(charSlice(d.lengthTable, static_cast<std::size_t>(4 * (k - 1) + 1), 4)) : 0.0;
    };
    m.members.assign(static_cast<std::size_t>(members) + 1, Member{});
    for (int i = 1; i <= members; ++i) {
        Member& mem = m.members[static_cast<std::size_t>(i)];
        std::size_t digitPos;
        if (t.isBeam(i)) digitPos = static_cast<std::size_t>(t.beamSpan(i));
        else digitPos = static_cast<std::size_t>(t.L + t.columnStorey(i - t.NB));
        std::string lenDigit = charAt(d.lengthNumbers, digitPos);
        int lk = indexValue(lenDigit);
        mem.len = lengthEntry(lk);

        std::string secDigit = charAt(d.memberSections, static_cast<std::size_t>(i));
        int sk = indexValue(secDigit);
        std::string field = (sk >= 1 && sk <= 9) ? charSlice(d.sectionTable, static_cast<std::size_t>(6 * (sk - 1) + 1), 6) : std::string();
        mem.b = numberValue(charSlice(field, 1, 3));
        mem.h = numberValue(charSlice(field, 4, 3));

        const bool prop = m.continuousBeam && !t.isBeam(i);
        if (prop) continue; // replaced below, whatever the file says
        if (!(mem.len > 0) || !std::isfinite(mem.len)) {
            std::string why = lenDigit.empty() ? "长度编号缺少第 " + std::to_string(digitPos) + " 位"
                                               : "长度编号 " + quoteForMessage(lenDigit) + " 选中的长度为 " + num(mem.len);
            throw Failure(where + t.memberName(i) + "的长度不是正数 (" + why + ")");
        }
        if (isBlankText(field)) {
            std::string why = secDigit.empty() ? "截面编号缺少第 " + std::to_string(i) + " 位"
                                               : "截面编号 " + quoteForMessage(secDigit) + " 选中了截面表中的空项";
            throw Failure(where + t.memberName(i) + "没有截面 (" + why + ")");
        }
        if (mem.b < 0 || mem.h < 0 || !std::isfinite(mem.b) || !std::isfinite(mem.h))
            throw Failure(where + t.memberName(i) + "的截面尺寸 " + quoteForMessage(field) + " 无效");
    }
    applyContinuousBeamProps(m);
    setJointCoordinates(m);

    // Span loads: a two-character item takes the item of the beam it names,
    // resolved once, in beam order.
    m.spanItems.assign(static_cast<std::size_t>(t.NB) + 1, std::string());
    for (int i = 1; i <= t.NB; ++i) {
        std::string item = d.spanLoads[static_cast<std::size_t>(i - 1)];
        if (charCount(item) == 2) {
            int k = indexValue(item);
            if (k < 1 || k > t.NB)
                throw Failure(where + "第 " + std::to_string(i) + " 号梁的荷载项 " + quoteForMessage(item) + " 引用的第 " +
                              std::to_string(k) + " 号梁不存在 (共 " + std::to_string(t.NB) + " 根梁)");
            // Earlier beams already hold their resolved item; the replacement
            // is not examined for its length again.
            item = k < i ? m.spanItems[static_cast<std::size_t>(k)] : d.spanLoads[static_cast<std::size_t>(k - 1)];
        }
        m.spanItems[static_cast<std::size_t>(i)] = item;
    }
    m.loads.assign(static_cast<std::size_t>(t.NB) + 1, {});
    for (int i = 1; i <= t.NB; ++i)
        m.loads[static_cast<std::size_t>(i)] =
            spanLoadEntries(m.spanItems[static_cast<std::size_t>(i)], m.members[static_cast<std::size_t>(i)].len, i, d.fileName);

    // Joint-load groups.
    for (std::size_t g = 0; g < d.jointLoads.size(); ++g) {
        const std::string& item = d.jointLoads[g];
        JointLoadGroup grp;
        int n = indexValue(charAt(item, 1));
        if (n < 0) n = 0;
        for (int j = 1; j <= n; ++j) {
            std::string field = charSlice(item, static_cast<std::size_t>(2 * j), 2);
            int dof = indexValue(field);
            if (dof < 1 || dof > t.N)
                throw Failure(where + "第 " + std::to_string(g + 1) + " 组节点荷载 " + quoteForMessage(item) + " 中的第 " +
                              std::to_string(j) + " 个编号 " + quoteForMessage(field) + " 不在 1 到 " + std::to_string(t.N) +
                              " 之间 (节点 1-" + std::to_string(t.NC) + ", 层间侧移 " + std::to_string(t.NC + 1) + "-" +
                              std::to_string(t.N) + ")");
            grp.numbers.push_back(dof);
        }
        grp.F = numberValue(charSlice(item, static_cast<std::size_t>(2 * n + 2), 5));
        grp.M = numberValue(charSlice(item, static_cast<std::size_t>(2 * n + 7), 6));
        if (!std::isfinite(grp.F) || !std::isfinite(grp.M))
            throw Failure(where + "第 " + std::to_string(g + 1) + " 组节点荷载的数值超出范围");
        m.jointGroups.push_back(grp);
    }
    return m;
}

void StiffnessSystem::add(int i, int j, double v)
{
    if (i == 0 || j == 0) return;
    if (i < j) std::swap(i, j);
    entries.push_back({i, j, v});
}

double StiffnessSystem::k(int i, int j) const
{
    if (i < j) std::swap(i, j);
    double sum = 0;
    for (const Entry& e : entries)
        if (e.row == i && e.col == j) sum += e.value;
    return sum;
}

StiffnessSystem assembleStiffness(const FrameModel& m)
{
    const FrameTopology& t = m.topo;
    StiffnessSystem s;
    s.N = t.N;
    s.P.assign(static_cast<std::size_t>(t.N) + 1, 0.0);
    // Three entries of a beam's lower triangle, ten of a column's.
    s.entries.reserve(static_cast<std::size_t>(3 * t.NB + 10 * t.NC));
    for (int I = 1; I <= t.NB; ++I) {
        const Member& b = m.member(I);
        const double k = b.bending() / b.len;
        const int a = t.rotation(t.leftNode(I)), e = t.rotation(t.rightNode(I));
        s.add(a, a, 4 * k);
        s.add(e, a, 2 * k);
        s.add(e, e, 4 * k);
    }
    for (int col = 1; col <= t.NC; ++col) {
        const Member& c = m.member(t.columnMember(col));
        const int top = t.rotation(t.topNode(col));
        const int foot = t.bottomNode(col) == 0 ? 0 : t.rotation(t.bottomNode(col));
        const int d = t.drift(t.columnStorey(col));
        const double S = c.bending();
        const double c2 = 2 * S / c.len;
        const double c4 = 2 * c2;
        const double c6 = 3 * c2 / c.len;
        const double c12 = 2 * c6 / c.len;
        // Drift, top and foot; the ground's row and column are left out.
        s.add(d, d, c12);
        s.add(top, d, c6);
        s.add(top, top, c4);
        s.add(foot, d, c6);
        s.add(foot, top, c2);
        s.add(foot, foot, c4);
    }
    return s;
}

void solve(StiffnessSystem& s, const FrameModel& m)
{
    using SparseMatrix = Eigen::SparseMatrix<double, Eigen::ColMajor, int>;
    const int N = s.N;
    std::vector<Eigen::Triplet<double, int>> triplets;
    triplets.reserve(s.entries.size());
    std::vector<double> diag(static_cast<std::size_t>(N) + 1, 0.0);
    for (const StiffnessSystem::Entry& e : s.entries) {
        triplets.emplace_back(e.row - 1, e.col - 1, e.value);
        if (e.row == e.col) diag[static_cast<std::size_t>(e.row)] += e.value;
    }
    SparseMatrix K(N, N);
    K.setFromTriplets(triplets.begin(), triplets.end()); // entries at one place summed in assembly order

    // A pivot that is not clearly positive against its original diagonal
    // means the frame is a mechanism there.
    auto fail = [&](int k) {
        std::string cause;
        if (k <= m.topo.NC) cause = "与该节点相连的梁柱可能截面为 0 或刚度过小";
        else cause = "该层的柱可能截面为 0, 或该层无法抵抗侧移";
        std::string zeroMembers;
        for (int i = 1; i < static_cast<int>(m.members.size()); ++i) {
            const Member& mem = m.members[static_cast<std::size_t>(i)];
            if (mem.b * mem.h == 0) zeroMembers += (zeroMembers.empty() ? "" : ", ") + m.topo.memberName(i);
        }
        if (!zeroMembers.empty()) cause += " (截面为 0 的构件: " + zeroMembers + ")";
        throw Failure(m.fileKind + " " + m.fileName + ": 刚度矩阵奇异, 无法求解" + m.topo.unknownName(k) + "; " + cause);
    };

    // The natural ordering keeps the unknowns in their own order: the band
    // of the rotations (a level's joints and the next level's), then the
    // drifts, whose block fills in but holds one row a storey.
    Eigen::SimplicialLDLT<SparseMatrix, Eigen::Lower, Eigen::NaturalOrdering<int>> ldlt;
    ldlt.compute(K);
    // The factorisation stops at a zero pivot, which is then the last one
    // written; the pivots are examined in order up to the first bad one.
    const Eigen::VectorXd& D = ldlt.vectorD();
    for (int k = 1; k <= N; ++k) {
        const double p = D[k - 1];
        const double d0 = diag[static_cast<std::size_t>(k)];
        if (!(std::isfinite(p) && d0 > 0 && p > 1e-12 * d0)) fail(k);
    }
    if (ldlt.info() != Eigen::Success) fail(N); // not reached: a zero pivot fails above

    Eigen::VectorXd b(N);
    for (int i = 1; i <= N; ++i) b[i - 1] = s.P[static_cast<std::size_t>(i)];
    const Eigen::VectorXd x = ldlt.solve(b);
    for (int i = 1; i <= N; ++i) {
        s.P[static_cast<std::size_t>(i)] = x[i - 1];
        if (!std::isfinite(x[i - 1]))
            throw Failure(m.fileKind + " " + m.fileName + ": 求解结果超出数值范围 (" + m.topo.unknownName(i) + "), 请检查尺寸和荷载");
    }
}

} // namespace kj
