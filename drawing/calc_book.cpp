#include "calc_book.h"

#include "calc/report.h"
#include "common/clock.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/report_writer.h"
#include "common/textfile.h"
#include "frame_painter.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <vector>

namespace kjd {

namespace {

constexpr int kDpi = 300;
constexpr double kMm = kDpi / 25.4;

double pt(double points) { return points * kDpi / 72.0; }

QString q(const std::string& s) { return QString::fromStdString(s); }
std::size_t ix(int i) { return static_cast<std::size_t>(i); }

// A number as the report writes it, without its blanks: "-36", "2.74", ".25".
QString reportValue(double x) { return q(kj::reportNumber(x)).trimmed(); }
QString fixed(double x, int decimals)
{
    if (std::fabs(x) < 0.5 * std::pow(10.0, -decimals)) x = 0;
    return QString::number(x, 'f', decimals);
}

struct Table {
    QStringList headers;
    std::vector<QStringList> rows;
    std::vector<bool> leftAligned; // per column; other columns are centred
};

// Lays the book out page by page, then paints it: a page is a list of
// drawing steps, so the page count is known before the first page is drawn.
class Book {
public:
    using Step = std::function<void(QPainter&)>;

    Book(QPdfWriter& writer, const kj::CalculationResult& result)
        : writer_(writer), painter_(std::make_shared<FramePainter>(result))
    {
        PaintStyle style;
        style.fontPixels = pt(7);
        style.line = 0.25 * kMm;
        painter_->setStyle(style);
        body_ = drawingFont(pt(9.5));
        small_ = drawingFont(pt(8));
        mono_ = body_;
        mono_.setFamilies({QStringLiteral("WenQuanYi Zen Hei Mono"), drawingFontFamily()});
        mono_.setPixelSize(static_cast<int>(std::lround(pt(7.5))));
        h1_ = drawingFont(pt(13), true);
        h2_ = drawingFont(pt(10.5), true);
        title_ = drawingFont(pt(18), true);
        const double pw = writer.width(), ph = writer.height();
        content_ = QRectF(18 * kMm, 22 * kMm, pw - 33 * kMm, ph - 40 * kMm);
        newPage();
    }

    void newPage()
    {
        if (!pages_.empty() && pages_.back().empty()) return; // already on a fresh page
        pages_.emplace_back();
        y_ = content_.top();
    }
    void space(double mm) { y_ += mm * kMm; }
    // Starts a new page unless height still fits.
    void need(double height)
    {
        if (y_ + height > content_.bottom() && y_ > content_.top()) newPage();
    }
    double lineHeight(const QFont& f) const { return QFontMetricsF(f, &writer_).height(); }

    void title(const QString& text)
    {
        const double h = lineHeight(title_) * 1.6;
        const QRectF r(content_.left(), y_, content_.width(), h);
        add([r, text, f = title_](QPainter& p) {
            p.setFont(f);
            p.drawText(r, Qt::AlignCenter, text);
        });
        y_ += h + 2 * kMm;
    }

    void heading(const QString& text, bool major)
    {
        const QFont f = major ? h1_ : h2_;
        const double h = lineHeight(f) * 1.5;
        need(h + 8 * lineHeight(body_)); // a heading never ends a page
        const QRectF r(content_.left(), y_, content_.width(), h);
        add([r, text, f](QPainter& p) {
            p.setFont(f);
            p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, text);
        });
        y_ += h;
    }

    // Lines of text, each wrapped at the content width.
    void lines(const QStringList& texts, const QFont& font, double indentMm = 0)
    {
        const QFontMetricsF fm(font, &writer_);
        const double width = content_.width() - indentMm * kMm;
        const double h = fm.height() * 1.25;
        for (const QString& text : texts) {
            QStringList pieces;
            QString rest = text;
            // Break where the width runs out, at a character (the echo has no spaces to break at).
            while (fm.horizontalAdvance(rest) > width && rest.size() > 1) {
                int n = rest.size();
                while (n > 1 && fm.horizontalAdvance(rest.left(n)) > width) --n;
                pieces << rest.left(n);
                rest = rest.mid(n);
            }
            pieces << rest;
            for (const QString& piece : pieces) {
                need(h);
                const QRectF r(content_.left() + indentMm * kMm, y_, width, h);
                add([r, piece, font](QPainter& p) {
                    p.setFont(font);
                    p.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, piece);
                });
                y_ += h;
            }
        }
    }
    void paragraph(const QStringList& texts) { lines(texts, body_); }
    void note(const QStringList& texts) { lines(texts, small_); }

    // A table across the content width; its header is repeated on every page it runs onto.
    void table(const Table& t)
    {
        const QFont font = small_;
        const QFontMetricsF fm(font, &writer_);
        const int cols = static_cast<int>(t.headers.size());
        const double pad = 1.2 * kMm;
        std::vector<double> widths(ix(cols), 0);
        const auto measure = [&](const QStringList& row) {
            for (int c = 0; c < cols && c < row.size(); ++c)
                for (const QString& line : row[c].split(QLatin1Char('\n')))
                    widths[ix(c)] = std::max(widths[ix(c)], fm.horizontalAdvance(line) + 2 * pad);
        };
        measure(t.headers);
        for (const QStringList& row : t.rows) measure(row);
        double total = 0;
        for (double w : widths) total += w;
        // Spread the spare width over the columns, or shrink them all to fit.
        const double factor = total > 0 ? content_.width() / total : 1;
        for (double& w : widths) w *= total < content_.width() ? 1 : factor;
        if (total < content_.width()) {
            const double extra = (content_.width() - total) / cols;
            for (double& w : widths) w += extra;
        }
        const auto rowHeight = [&](const QStringList& row) {
            int n = 1;
            for (const QString& cell : row) n = std::max(n, static_cast<int>(cell.count(QLatin1Char('\n'))) + 1);
            return n * fm.height() + 1.2 * kMm;
        };
        const auto drawRow = [this, widths, font, pad, t](const QStringList& row, double y, double h, bool header) {
            add([=, this](QPainter& p) {
                p.setFont(font);
                double x = content_.left();
                if (header) p.fillRect(QRectF(x, y, content_.width(), h), QColor(232, 232, 232));
                p.setPen(QPen(QColor(120, 120, 120), 0.15 * kMm));
                p.drawLine(QPointF(content_.left(), y + h), QPointF(content_.right(), y + h));
                if (header) p.drawLine(QPointF(content_.left(), y), QPointF(content_.right(), y));
                p.setPen(Qt::black);
                for (std::size_t c = 0; c < widths.size(); ++c) {
                    const QRectF cell(x + pad, y, widths[c] - 2 * pad, h);
                    const bool left = header || (c < t.leftAligned.size() && t.leftAligned[c]);
                    const QString text = static_cast<int>(c) < row.size() ? row[static_cast<int>(c)] : QString();
                    p.drawText(cell, (left && !header ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter, text);
                    x += widths[c];
                }
            });
        };
        const double headerHeight = rowHeight(t.headers);
        need(headerHeight + rowHeight(t.rows.empty() ? t.headers : t.rows.front()));
        drawRow(t.headers, y_, headerHeight, true);
        y_ += headerHeight;
        for (const QStringList& row : t.rows) {
            const double h = rowHeight(row);
            if (y_ + h > content_.bottom()) {
                newPage();
                drawRow(t.headers, y_, headerHeight, true);
                y_ += headerHeight;
            }
            drawRow(row, y_, h, false);
            y_ += h;
        }
        y_ += 2 * kMm;
    }

    // A captioned drawing of the frame filling the rest of the page, or a
    // page of its own when less than half a page is left.
    // Drawn by painter (default: the book's own), which is styled as the book's.
    void drawing(const QString& caption, Layer layer, std::shared_ptr<FramePainter> painter = nullptr)
    {
        if (painter) painter->setStyle(painter_->style());
        else painter = painter_;
        // As tall as the frame needs at the page's width, at most the page:
        // a wide, low frame leaves room for the next drawing.
        const double headingHeight = lineHeight(h2_) * 1.5;
        const double wanted = std::min(painter->preferredHeight(content_.width()), content_.height() - headingHeight);
        // A new page when the drawing does not fit and less than most of a page is left.
        const double left = content_.bottom() - y_ - headingHeight;
        if (left < wanted && left < 0.6 * content_.height()) newPage();
        heading(caption, false);
        const QRectF r(content_.left(), y_, content_.width(), std::min(wanted, content_.bottom() - y_));
        add([r, layer, fp = painter](QPainter& p) { fp->paint(p, r, layer); });
        y_ += r.height() + 4 * kMm;
    }

    // Paints every page with its head and its number.
    void render(QPainter& p, const QString& head, const QString& date)
    {
        const int count = static_cast<int>(pages_.size());
        // A trailing empty page (left by a drawing) is not printed.
        const int printed = count > 1 && pages_.back().empty() ? count - 1 : count;
        for (int k = 0; k < printed; ++k) {
            if (k > 0) writer_.newPage();
            p.setFont(small_);
            p.setPen(Qt::black);
            const QRectF headRect(content_.left(), 10 * kMm, content_.width(), 6 * kMm);
            p.drawText(headRect, Qt::AlignLeft | Qt::AlignBottom, head);
            p.drawText(headRect, Qt::AlignRight | Qt::AlignBottom, date);
            p.setPen(QPen(Qt::black, 0.2 * kMm));
            p.drawLine(QPointF(content_.left(), 17 * kMm), QPointF(content_.right(), 17 * kMm));
            p.setPen(Qt::black);
            const QRectF footRect(content_.left(), writer_.height() - 14 * kMm, content_.width(), 6 * kMm);
            p.drawText(footRect, Qt::AlignCenter, QStringLiteral("第 %1 页  共 %2 页").arg(k + 1).arg(printed));
            for (const Step& step : pages_[ix(k)]) step(p);
        }
    }

    QFont body_, small_, mono_, h1_, h2_, title_;

private:
    void add(Step step) { pages_.back().push_back(std::move(step)); }
    QPdfWriter& writer_;
    std::shared_ptr<FramePainter> painter_;
    QRectF content_;
    double y_ = 0;
    std::vector<std::vector<Step>> pages_;
};

QString barsSetting(const std::optional<kj::ChosenBars>& b)
{
    if (!b) return QStringLiteral("由程序选定");
    return QStringLiteral("%1 根, 直径 %2 mm").arg(q(kj::shortestDecimal(b->count)), q(kj::shortestDecimal(b->diameter)));
}

// 1 工程信息
void projectSection(Book& book, const kj::CalculationResult& r, const QString& date)
{
    const kj::FrameModel& m = r.model;
    const kj::DesignOptions& o = r.options;
    book.heading(QString::fromUtf8(kBookSections[0]), true);
    QStringList info;
    info << QStringLiteral("构件名: %1").arg(q(m.name));
    info << QStringLiteral("数据文件: %1").arg(q(m.fileName));
    if (m.continuousBeam)
        info << QStringLiteral("结构: %1 跨连续梁 (支座按 10 m 细长支杆计算, 端部嵌固代码 NZ = %2)").arg(m.topo.L).arg(m.NZ);
    else
        info << QStringLiteral("结构: %1 跨 %2 层平面框架, 柱底固定").arg(m.topo.L).arg(m.topo.NF);
    info << QStringLiteral("混凝土: C%1;  纵筋强度设计值 Fy = %2 N/mm²")
                .arg(q(kj::shortestDecimal(r.materials.C)), q(kj::shortestDecimal(r.materials.Fy)));
    info << QStringLiteral("梁顶负弯矩调幅系数 β = %1").arg(QString::number(o.beta, 'f', 2));
    info << QStringLiteral("主筋保护层: %1 mm").arg(q(kj::shortestDecimal(o.cover)));
    info << QStringLiteral("梁顶通长筋: %1;  梁底通长筋: %2").arg(barsSetting(o.topBars), barsSetting(o.bottomBars));
    info << QStringLiteral("箍筋: 最少肢数 %1, 起始直径 %2")
                .arg(o.stirrupLegs ? QString::number(*o.stirrupLegs) : QStringLiteral("由程序选定"),
                     o.stirrupDiameter ? q(kj::shortestDecimal(*o.stirrupDiameter)) + QStringLiteral(" mm")
                                       : QStringLiteral("由程序选定"));
    info << QStringLiteral("配筋计算方法: %1").arg(r.rules ? QString::fromUtf8(r.rules->name) : QString());
    info << QStringLiteral("计算日期: %1").arg(date);
    book.paragraph(info);
    book.space(3);
}

// 2 输入数据
void inputSection(Book& book, const kj::CalculationResult& r, const kj::FrameData& data)
{
    const kj::FrameModel& m = r.model;
    const kj::FrameTopology& t = m.topo;
    book.heading(QString::fromUtf8(kBookSections[1]), true);
    book.heading(QStringLiteral("2.1 数据文件"), false);
    // The echo of records 1 to 5 as the report writes it, without its title line.
    kj::ReportWriter echo;
    kj::writeEcho(echo, data, "", "");
    QStringList echoLines = q(echo.str()).split(QStringLiteral("\r\n"));
    while (!echoLines.isEmpty() && (echoLines.front().trimmed().isEmpty() || echoLines.front().contains(QStringLiteral("*******"))))
        echoLines.removeFirst();
    book.lines(echoLines, book.mono_);
    book.space(2);

    book.heading(QStringLiteral("2.2 跨度和层高"), false);
    Table spans{{QStringLiteral("跨号"), QStringLiteral("跨度 (m)"), QStringLiteral("轴线坐标 (m)")}, {}, {}};
    for (int k = 1; k <= t.L; ++k)
        spans.rows.push_back({QString::number(k), fixed(m.x[ix(k)] - m.x[ix(k - 1)], 2),
                              fixed(m.x[ix(k - 1)], 2) + QStringLiteral(" ~ ") + fixed(m.x[ix(k)], 2)});
    book.table(spans);
    if (!m.continuousBeam) {
        Table storeys{{QStringLiteral("层号 (自顶层起)"), QStringLiteral("层高 (m)"), QStringLiteral("层顶标高 (m)")}, {}, {}};
        for (int J = 1; J <= t.NF; ++J)
            storeys.rows.push_back({QString::number(J), fixed(m.y[ix(J)] - m.y[ix(J + 1)], 2), fixed(m.y[ix(J)], 2)});
        book.table(storeys);
    }

    book.heading(QStringLiteral("2.3 构件和截面"), false);
    Table members{{QStringLiteral("构件"), QStringLiteral("所在层"), QStringLiteral("跨号 / 轴线"), QStringLiteral("节点"),
                   QStringLiteral("长度 (m)"), QStringLiteral("b×h (mm)")},
                  {},
                  {true, false, false, false, false, false}};
    const auto mm = [](double v) { return QString::number(std::lround(v * 1000)); };
    for (int i = 1; i <= t.memberCount(); ++i) {
        const kj::Member& mem = m.member(i);
        if (t.isBeam(i)) {
            members.rows.push_back({QStringLiteral("梁 %1").arg(i), QString::number(t.beamStorey(i)),
                                    QString::number(t.beamSpan(i)),
                                    QStringLiteral("%1-%2").arg(t.leftNode(i)).arg(t.rightNode(i)), fixed(mem.len, 2),
                                    mm(mem.b) + QStringLiteral("×") + mm(mem.h)});
        } else if (!m.continuousBeam) {
            const int c = i - t.NB;
            members.rows.push_back({QStringLiteral("柱 %1").arg(c), QString::number(t.columnStorey(c)),
                                    QString::number(t.columnLine(c) + 1),
                                    QStringLiteral("%1-%2").arg(t.topNode(c)).arg(t.bottomNode(c)), fixed(mem.len, 2),
                                    mm(mem.b) + QStringLiteral("×") + mm(mem.h)});
        }
    }
    book.table(members);
    book.note({QStringLiteral("节点自顶层起逐层自左向右编号, 0 表示柱底的固定端。")});
    book.space(2);

    book.heading(QStringLiteral("2.4 梁上荷载"), false);
    Table loads{{QStringLiteral("梁号"), QStringLiteral("荷载项"), QStringLiteral("荷载 (自左端起, m)")}, {}, {false, true, true}};
    for (int i = 1; i <= t.NB; ++i) {
        QStringList parts;
        for (const kj::MemberForces::Load& l : r.forces.along[ix(i)].loads) {
            if (l.x1 > l.x0)
                parts << QStringLiteral("q=%1 kN/m, %2~%3").arg(fixed(l.w, 2), fixed(l.x0, 2), fixed(l.x1, 2));
            else
                parts << QStringLiteral("P=%1 kN, x=%2").arg(fixed(l.w, 2), fixed(l.x0, 2));
        }
        loads.rows.push_back({QString::number(i), q(m.spanItems[ix(i)]), parts.isEmpty() ? QStringLiteral("无") : parts.join(QLatin1Char('\n'))});
    }
    book.table(loads);
}

// 4 内力: the end forces of every member.
Table endForceTable(const kj::CalculationResult& r)
{
    const kj::FrameTopology& t = r.topo();
    const kj::InternalForces& f = r.forces;
    Table tab{{QStringLiteral("构件"), QStringLiteral("M1"), QStringLiteral("M2"), QStringLiteral("V1"), QStringLiteral("V2"),
               QStringLiteral("Mo"), QStringLiteral("x (m)"), QStringLiteral("N 顶"), QStringLiteral("N 底")},
              {},
              {true}};
    for (int i = 1; i <= t.memberCount(); ++i) {
        if (t.isBeam(i)) {
            tab.rows.push_back({QStringLiteral("梁 %1").arg(i), fixed(f.M1[ix(i)], 2), fixed(f.M2[ix(i)], 2),
                                fixed(f.V1[ix(i)], 2), fixed(f.V2[ix(i)], 2), fixed(f.Mo[ix(i)], 2), fixed(f.X[ix(i)], 2),
                                QString(), QString()});
        } else if (!r.model.continuousBeam && f.along.size() <= ix(i)) {
            // The envelope's column ends: the moments designed for; no one shear or axial state.
            tab.rows.push_back({QStringLiteral("柱 %1").arg(i - t.NB), fixed(f.M1[ix(i)], 2), fixed(f.M2[ix(i)], 2),
                                QString(), QString(), QString(), QString(), QString(), QString()});
        } else if (!r.model.continuousBeam) {
            const kj::MemberForces& a = f.along[ix(i)];
            tab.rows.push_back({QStringLiteral("柱 %1").arg(i - t.NB), fixed(f.M1[ix(i)], 2), fixed(f.M2[ix(i)], 2),
                                fixed(a.V1, 2), fixed(a.V1, 2), QString(), QString(), fixed(a.N1, 2), fixed(a.N2, 2)});
        }
    }
    return tab;
}

// 5 配筋: the report's beam and column tables, number for number.
void designSection(Book& book, const kj::CalculationResult& r)
{
    const kj::FrameTopology& t = r.topo();
    book.heading(QString::fromUtf8(kBookSections[4]), true);
    book.paragraph({QStringLiteral("Fy = %1 N/mm²,  C%2;  弯矩 kN·m, 剪力 kN, 钢筋面积 mm², 剪折点 m")
                        .arg(reportValue(r.materials.Fy), reportValue(r.materials.C))});
    book.heading(QStringLiteral("5.1 梁"), false);
    Table beams{{QStringLiteral("梁号"), QStringLiteral("左 M"), QStringLiteral("左 V"), QStringLiteral("左 As"),
                 QStringLiteral("左 Asv"), QStringLiteral("右 M"), QStringLiteral("右 V"), QStringLiteral("右 As"),
                 QStringLiteral("右 Asv"), QStringLiteral("Mo"), QStringLiteral("剪折点"), QStringLiteral("跨中 As"),
                 QStringLiteral("As'")},
                {},
                {}};
    Table bars{{QStringLiteral("梁号"), QStringLiteral("左支座预配钢筋"), QStringLiteral("右支座预配钢筋"),
                QStringLiteral("跨中预配钢筋")},
               {},
               {false, true, true, true}};
    QStringList skipped;
    for (int i = 1; i <= t.NB; ++i) {
        const kj::BeamDesign& b = r.beams[ix(i)];
        if (!b.designed) {
            skipped << QStringLiteral("第 %1 号梁: %2").arg(i).arg(q(b.skipReason));
            continue;
        }
        beams.rows.push_back({QString::number(i), reportValue(b.left.M), reportValue(b.left.V), reportValue(b.left.As),
                              q(b.left.stirrupString), reportValue(b.right.M), reportValue(b.right.V),
                              reportValue(b.right.As), q(b.right.stirrupString), reportValue(b.span.M),
                              reportValue(b.span.x), reportValue(b.span.As), reportValue(b.span.AsComp)});
        bars.rows.push_back({QString::number(i), q(b.left.barString), q(b.right.barString), q(b.span.barString)});
    }
    book.table(beams);
    book.note({QStringLiteral("预配钢筋: 通长筋根数,直径+附加筋根数,直径 第一排/第二排根数; 箍筋: 肢数*直径@间距 (mm)。"
                              "As = 9999 或箍筋 32@50 表示截面不足。")});
    book.table(bars);
    if (!skipped.isEmpty()) book.note(skipped);
    if (!r.model.continuousBeam) {
        book.heading(QStringLiteral("5.2 柱"), false);
        Table cols{{QStringLiteral("柱号"), QStringLiteral("M1"), QStringLiteral("N1"), QStringLiteral("As"),
                    QStringLiteral("As'"), QStringLiteral("M2"), QStringLiteral("N2"), QStringLiteral("As"),
                    QStringLiteral("As'")},
                   {},
                   {}};
        QStringList colSkipped;
        for (int c = 1; c <= t.NC; ++c) {
            const kj::ColumnDesign& d = r.columns[ix(c)];
            if (!d.designed) {
                colSkipped << QStringLiteral("第 %1 号柱: %2").arg(c).arg(q(d.skipReason));
                continue;
            }
            cols.rows.push_back({QString::number(c), reportValue(d.top.M), reportValue(kj::roundHalfEven(d.top.N)),
                                 reportValue(d.top.As), reportValue(d.top.As), reportValue(d.bottom.M),
                                 reportValue(kj::roundHalfEven(d.bottom.N)), reportValue(d.bottom.As),
                                 reportValue(d.bottom.As)});
        }
        book.table(cols);
        book.note({QStringLiteral("1 为柱顶, 2 为柱底; 对称配筋, As = As' 为每侧钢筋面积。")});
        if (!colSkipped.isEmpty()) book.note(colSkipped);
    }
    book.drawing(QStringLiteral("5.3 配筋图"), Layer::Reinforcement);
}

// 6 平衡校核
// From load cases, every case is checked (caption: the case), under one heading.
void equilibriumSection(Book& book, const kj::CalculationResult& r, const QString& caption = QString(),
                        bool first = true)
{
    const kj::EquilibriumResiduals& e = r.residuals;
    const kj::FrameTopology& t = r.topo();
    const auto sci = [](double v) { return QString::number(v, 'e', 2); };
    if (first) {
        book.heading(QString::fromUtf8(kBookSections[5]), true);
        book.paragraph({QStringLiteral("由杆端内力校核平衡, 各残差应为零 (只差舍入):"),
                        QStringLiteral("节点: 交于节点的各杆端弯矩与节点弯矩之和 (kN·m);"),
                        QStringLiteral("楼层: 各柱剪力之和减去层间剪力 (kN);"),
                        QStringLiteral("竖向: 底层柱轴力之和减去全部竖向荷载和柱自重 (kN)。")});
    }
    if (!caption.isEmpty()) book.heading(caption, false);
    Table joints{{QStringLiteral("节点"), QStringLiteral("弯矩残差 (kN·m)")}, {}, {}};
    for (int n = 1; n <= t.NC; ++n) joints.rows.push_back({QString::number(n), sci(e.joint[ix(n)])});
    book.table(joints);
    Table storeys{{QStringLiteral("层"), QStringLiteral("剪力残差 (kN)")}, {}, {}};
    for (int J = 1; J <= t.NF; ++J) storeys.rows.push_back({QString::number(J), sci(e.storey[ix(J)])});
    book.table(storeys);
    const double ratio = e.largestEndForce > 0 ? e.largest() / e.largestEndForce : 0;
    book.paragraph({QStringLiteral("竖向残差: %1 kN").arg(sci(e.vertical)),
                    QStringLiteral("最大残差 %1, 最大杆端内力 %2, 比值 %3")
                        .arg(sci(e.largest()), fixed(e.largestEndForce, 2), sci(ratio))});
}

} // namespace

QByteArray calculationBookPdf(const kj::CalculationResult& r, const kj::FrameData& data, const BookOptions& options)
{
    const QString date = q(options.date.empty() ? kj::shortDateTimeNow().date : options.date);
    const QString name = q(r.model.name);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(kDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(name + QStringLiteral(" 框架内力及配筋计算书"));
    writer.setCreator(QStringLiteral("kjpj"));

    Book book(writer, r);
    book.title(name + QStringLiteral(" 框架内力及配筋计算书"));
    projectSection(book, r, date);
    const kj::EnvelopeResult* e = options.envelope;
    // From load cases the input is the dead load's: the envelope carries no loads.
    inputSection(book, e ? e->cases.front().result : r, data);

    book.newPage();
    book.heading(QString::fromUtf8(kBookSections[2]), true);
    book.drawing(QStringLiteral("3.1 计算简图"), Layer::Geometry);
    // From load cases: the loads of every case, the M and V envelopes of
    // the combinations and the moments of every case.
    const auto ofCase = [&](std::size_t k) {
        auto fp = std::make_shared<FramePainter>(e->cases[k].result);
        fp->setCaption(shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)}));
        return fp;
    };
    if (!e) book.drawing(QStringLiteral("3.2 荷载"), Layer::Loads);
    for (std::size_t k = 0; e && k < e->cases.size(); ++k)
        book.drawing(QStringLiteral("3.%1 荷载 (%2)").arg(k + 2).arg(shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)})),
                     Layer::Loads, ofCase(k));

    book.heading(QString::fromUtf8(kBookSections[3]), true);
    int n = 1;
    if (e) {
        auto envelope = std::make_shared<FramePainter>(r, e);
        envelope->setCaption(QStringLiteral("包络"));
        book.drawing(QStringLiteral("4.%1 弯矩包络图").arg(n++), Layer::Moment, envelope);
        book.drawing(QStringLiteral("4.%1 剪力包络图").arg(n++), Layer::Shear, envelope);
        for (std::size_t k = 0; k < e->cases.size(); ++k)
            book.drawing(QStringLiteral("4.%1 弯矩图 (%2)").arg(n++).arg(shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)})),
                         Layer::Moment, ofCase(k));
    } else {
        book.drawing(QStringLiteral("4.%1 弯矩图").arg(n++), Layer::Moment);
        book.drawing(QStringLiteral("4.%1 剪力图").arg(n++), Layer::Shear);
        book.drawing(r.model.continuousBeam ? QStringLiteral("4.%1 支座反力").arg(n++) : QStringLiteral("4.%1 轴力图").arg(n++),
                     Layer::Axial);
        book.drawing(QStringLiteral("4.%1 变形图").arg(n++), Layer::Deflection);
    }
    book.heading(QStringLiteral("4.%1 杆端内力").arg(n), false);
    book.note({QStringLiteral("杆端弯矩 M1 (梁左端、柱顶) 和 M2 (梁右端、柱底) 以顺时针为正, kN·m; 剪力 kN; "
                              "Mo 为跨中弯矩 (下部受拉为正), x 为其距左端的位置; N 为柱轴力, 压力为正, kN。")});
    book.table(endForceTable(r));

    book.newPage();
    designSection(book, r);
    if (!e) equilibriumSection(book, r);
    for (std::size_t k = 0; e && k < e->cases.size(); ++k)
        equilibriumSection(book, e->cases[k].result, shownCaption(*e, {Shown::Kind::Case, static_cast<int>(k)}), k == 0);

    QPainter painter;
    if (!painter.begin(&writer)) throw kj::Failure("计算书: 无法生成 PDF");
    book.render(painter, name + QStringLiteral(" 框架内力及配筋计算书"), date);
    painter.end();
    return bytes;
}

void writeCalculationBook(const kj::CalculationResult& r, const kj::FrameData& data, const std::filesystem::path& path,
                          const BookOptions& options)
{
    const QByteArray pdf = calculationBookPdf(r, data, options);
    kj::replaceFileBytes(path, std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                         path.filename().string());
}

} // namespace kjd
