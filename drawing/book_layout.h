#pragma once
// The calculation book's page layout and the helpers its sections share:
// the units of the page, the numbers as the report writes them, tables, and
// the book laid out page by page. Used by calc_book.cpp and the files of its
// sections, nowhere else.
#include "calc/envelope.h"
#include "calc_book.h"
#include "calc/seismic_action.h"
#include "common/numbers.h"
#include "frame_painter.h"

#include <QPainter>
#include <QPdfWriter>
#include <QStringList>

#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kjd::book {

inline constexpr int kDpi = 300;
inline constexpr double kMm = kDpi / 25.4;

inline double pt(double points) { return points * kDpi / 72.0; }

inline QString q(const std::string& s) { return QString::fromStdString(s); }
inline std::size_t ix(int i) { return static_cast<std::size_t>(i); }

// A number as the report writes it, without its blanks: "-36", "2.74", ".25".
inline QString reportValue(double x) { return q(kj::reportNumber(x)).trimmed(); }
inline QString fixed(double x, int decimals)
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
        style.smallFontPixels = pt(5.5);
        style.callouts = true;
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
        // One line: a title longer than the page ends in "…".
        const QString shown = QFontMetricsF(title_, &writer_).elidedText(text, Qt::ElideRight, r.width());
        add([r, shown, f = title_](QPainter& p) {
            p.setFont(f);
            p.drawText(r, Qt::AlignCenter, shown);
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
            for (int n = fittingLength(fm, rest, width); n < rest.size(); n = fittingLength(fm, rest, width)) {
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
        texts_.tableRows.push_back(t.headers);
        for (const QStringList& row : t.rows) texts_.tableRows.push_back(row);
        QFont font = small_;
        const int cols = static_cast<int>(t.headers.size());
        double pad = 1.2 * kMm;
        std::vector<double> widths(ix(cols), 0);
        double total = 0;
        // A table wider than the page is set in a smaller face (down to 70 %)
        // before its columns are narrowed: no cell is clipped.
        for (int pass = 0; pass < 2; ++pass) {
            const QFontMetricsF fm(font, &writer_);
            std::fill(widths.begin(), widths.end(), 0.0);
            const auto measure = [&](const QStringList& row) {
                for (int c = 0; c < cols && c < row.size(); ++c)
                    for (const QString& line : row[c].split(QLatin1Char('\n')))
                        widths[ix(c)] = std::max(widths[ix(c)], fm.horizontalAdvance(line) + 2 * pad);
            };
            measure(t.headers);
            for (const QStringList& row : t.rows) measure(row);
            total = 0;
            for (double w : widths) total += w;
            if (pass > 0 || total <= content_.width()) break;
            const double shrink = std::max(0.7, content_.width() / total * 0.98);
            font.setPixelSize(std::max(1, static_cast<int>(std::floor(font.pixelSize() * shrink))));
            pad *= shrink;
        }
        const QFontMetricsF fm(font, &writer_);
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
        // Shared by the rows' steps: a step that held its own copy of the
        // table would make the memory grow with the square of its rows.
        const auto shared = std::make_shared<const std::pair<std::vector<double>, std::vector<bool>>>(widths, t.leftAligned);
        const auto drawRow = [this, shared, font, pad](const QStringList& row, double y, double h, bool header) {
            add([=, this](QPainter& p) {
                const auto& [widths, leftAligned] = *shared;
                p.setFont(font);
                double x = content_.left();
                if (header) p.fillRect(QRectF(x, y, content_.width(), h), QColor(232, 232, 232));
                p.setPen(QPen(QColor(120, 120, 120), 0.15 * kMm));
                p.drawLine(QPointF(content_.left(), y + h), QPointF(content_.right(), y + h));
                if (header) p.drawLine(QPointF(content_.left(), y), QPointF(content_.right(), y));
                p.setPen(Qt::black);
                for (std::size_t c = 0; c < widths.size(); ++c) {
                    const QRectF cell(x + pad, y, widths[c] - 2 * pad, h);
                    const bool left = header || (c < leftAligned.size() && leftAligned[c]);
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
        // Painted once now to learn what found no room (the page paints it
        // again, the same way): those values go into a list beside the drawing.
        {
            QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
            QPainter p(&scratch);
            painter->paint(p, r, layer);
        }
        for (const QString& t : painter->labelTexts()) texts_.drawingTexts.push_back(t);
        const std::vector<DrawnValue> dropped = painter->droppedValues();
        texts_.droppedValues += static_cast<int>(dropped.size());
        add([r, layer, fp = painter](QPainter& p) { fp->paint(p, r, layer); });
        y_ += r.height() + 4 * kMm;
        if (dropped.empty()) return;
        Table list{{QStringLiteral("图中标号"), QStringLiteral("构件"), QStringLiteral("数值"), QStringLiteral("内容")},
                   {},
                   {false, false, false, true}};
        for (const DrawnValue& v : dropped) {
            list.rows.push_back({QStringLiteral("[%1]").arg(v.callout), painter->memberName(v.member), v.text, v.what});
            ++texts_.listedValues;
        }
        note({QStringLiteral("%1 中无处标注的数值 (图中以 [n] 标出位置):").arg(caption)});
        table(list);
    }

    BookTexts texts_;

    // Paints every page with its head and its number.
    void render(QPainter& p, const QString& head, const QString& date)
    {
        const int count = static_cast<int>(pages_.size());
        // A trailing empty page (left by a drawing) is not printed.
        const int printed = count > 1 && pages_.back().empty() ? count - 1 : count;
        // The head leaves room for the date beside it.
        const QFontMetricsF fm(small_, &writer_);
        const QString shownHead =
            fm.elidedText(head, Qt::ElideRight, content_.width() - fm.horizontalAdvance(date) - 5 * kMm);
        for (int k = 0; k < printed; ++k) {
            if (k > 0) writer_.newPage();
            p.setFont(small_);
            p.setPen(Qt::black);
            const QRectF headRect(content_.left(), 10 * kMm, content_.width(), 6 * kMm);
            p.drawText(headRect, Qt::AlignLeft | Qt::AlignBottom, shownHead);
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
    // The number of leading characters of text that fit width, at least one:
    // a doubling then halving search, so that a line costs about its own
    // length to break however long it is.
    static int fittingLength(const QFontMetricsF& fm, const QString& text, double width)
    {
        const auto fits = [&](int n) { return fm.horizontalAdvance(text.left(n)) <= width; };
        int lo = 1, hi = 2; // fits(lo) is assumed, as a piece has a character at least
        while (hi < text.size() && fits(hi)) {
            lo = hi;
            hi *= 2;
        }
        if (hi >= text.size()) {
            if (fits(static_cast<int>(text.size()))) return static_cast<int>(text.size());
            hi = static_cast<int>(text.size());
        }
        while (hi - lo > 1) {
            const int mid = lo + (hi - lo) / 2;
            (fits(mid) ? lo : hi) = mid;
        }
        return lo;
    }
    void add(Step step) { pages_.back().push_back(std::move(step)); }
    QPdfWriter& writer_;
    std::shared_ptr<FramePainter> painter_;
    QRectF content_;
    double y_ = 0;
    std::vector<std::vector<Step>> pages_;
};

inline QString barsSetting(const std::optional<kj::ChosenBars>& b)
{
    if (!b) return QStringLiteral("由程序选定");
    return QStringLiteral("%1 根, 直径 %2 mm").arg(q(kj::shortestDecimal(b->count)), q(kj::shortestDecimal(b->diameter)));
}

// A design value as the report rounds it: whole kN, kN·m and mm², x to 0.01.
inline QString whole(double x) { return reportValue(kj::roundHalfEven(x)); }
inline QString hundredths(double x) { return reportValue(kj::roundHalfEven2(x)); }
inline QString num(double x, int decimals) { return fixed(x, decimals); }

// The heading of the storey column of every table of the book: storeys
// counted from the ground.
inline QString storeyHeading() { return QStringLiteral("层号 (自下而上, 1 = 底层)"); }

inline bool is2010(const kj::CalculationResult& r) { return r.options.code == kj::DesignCode::Gb50010_2010; }

// 地震作用计算 and the joint cores' table (calc_book_seismic.cpp): the
// failures they find are added to the list the conclusion gives.
void seismicSection(Book& book, const kj::SeismicAction& a, int number, QStringList& failures);
void jointCoreSection(Book& book, const kj::EnvelopeResult& e, int number, QStringList& failures);

} // namespace kjd::book
