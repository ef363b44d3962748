#pragma once
// The one painter of a calculation result: the same code draws the window,
// an image, an SVG file, a printed page and the pages of the calculation
// book. It draws one layer at a time, fitted into any rectangle, for every
// frame the program accepts. A continuous beam is drawn as a beam on
// supports: its props (10 m slender members in the analysis) become support
// symbols, a clamped end a fixed support, and their forces are left to the
// tables.
//
// Every text goes through one label placer, so no two labels overlap, and
// a value stays beside its own member: it never takes a place nearer another
// member of the same kind. A value that finds no room is tried once more in
// a small face; one that still finds none is listed in droppedValues() (the
// book numbers it on the drawing and lists it beside it; the window shows
// it on hovering).
#include "calc/calculation.h"
#include "calc/envelope.h"
#include "deflection.h"
#include "drift_layer.h"
#include "label_placer.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <QStaticText>
#include <QLineF>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QPainter;

namespace kjd {

enum class Layer { Geometry, Loads, Moment, Shear, Axial, Deflection, Drift, Reinforcement };
inline constexpr std::array<Layer, 8> kLayers{Layer::Geometry, Layer::Loads,      Layer::Moment, Layer::Shear,
                                              Layer::Axial,    Layer::Deflection, Layer::Drift,  Layer::Reinforcement};
// 计算简图, 荷载, 弯矩图, 剪力图, 轴力图, 变形图, 层间位移, 配筋图.
QString layerTitle(Layer layer);

// A name the user gave (the frame's, the title block's fields) as drawings
// and pages show it: at most kShownNameChars characters, then "…".
inline constexpr std::size_t kShownNameChars = 40;
QString shownName(const std::string& name);

// Bars in the notation of drawings: "2Φ16+1Φ18", with the layers as the
// bar string gives them ("2Φ22+3Φ25 3/2"); "截面不足" for a failed section.
QString barNotation(const kj::BeamSectionDesign& section, bool span);
// Stirrups "Φ8@100(2)": diameter, spacing and legs.
QString stirrupNotation(const kj::Stirrups& stirrups);
// The grade of bars of this design strength: "HRB400" (fy 360), "HPB300"
// (270), "HRB335" (300), "HPB235" (210), "HRB500" (435); else "fy=…".
QString steelGradeName(double fy);
// The stirrups' design strength of a calculation: 210 in the default method, the option in GB 50010-2010.
double stirrupStrength(const kj::CalculationResult& r);

// The horizontal force applied at the top of storey J (counted from the
// roof): the storey's shear less the shear of the storey above, kN,
// positive to the right.
double floorForce(const kj::InternalForces& forces, int storey);

struct PaintStyle {
    double fontPixels = 12; // label text height, in the painter's units
    double line = 1.0;      // width of a thin line, in the painter's units
    bool fillBackground = true;
    bool title = true;      // frame name, layer and legend at the top left
    double smallFontPixels = 7; // the face a value is tried in when it finds no room at fontPixels
    // A value that finds no room at all: a numbered mark "[n]" at its place
    // and a note under the legend (the book lists them beside the drawing).
    bool callouts = false;
};

// A value of a member (or of a storey) in the last paint, drawn or not.
struct DrawnValue {
    int member = 0;    // 0: not of one member (a storey's force or drift)
    QString what;      // "左端弯矩 (kN·m)", "层间侧移"
    QString text;      // as drawn: "12.3"
    QPointF at;        // the point of the drawing it belongs to
    bool drawn = true; // false: no room (see callout)
    int callout = 0;   // its number on the drawing when not drawn (0: none)
};
// A label of a member as placed: its anchor and the rectangle it took.
struct PlacedLabel {
    int member = 0;
    QString text;
    QPointF anchor;
    QRectF rect;
};

// Colours the diagrams are filled with (opaque, so a filled area reads one colour).
struct Palette {
    static QColor momentFill() { return QColor(248, 196, 186); }
    static QColor shearFill() { return QColor(190, 214, 246); }
    static QColor axialFill() { return QColor(200, 232, 196); }
};

// The sizes the window starts with; "the default scale" of a drawing.
inline constexpr int kDefaultViewWidth = 1100;
inline constexpr int kDefaultViewHeight = 760;

// What of a calculation from load cases is drawn: the envelope of the
// combinations, one load case or one combination (index into its list).
struct Shown {
    enum class Kind { Envelope, Case, Combination };
    Kind kind = Kind::Envelope;
    int index = 0;
};
// The list to choose from: "包络", every case ("G 恒载", "W 风载 (左风)",
// "E 地震作用 (左震)": the storey shears to the right),
// every combination by its name; shownAt gives the choice of a row.
QStringList shownNames(const kj::EnvelopeResult& e);
Shown shownAt(const kj::EnvelopeResult& e, int row);
// What the title says of it: "包络", "工况 G 恒载", "组合 1.3G+1.5Q".
QString shownCaption(const kj::EnvelopeResult& e, const Shown& shown);
// The calculation drawn for a choice: the envelope's own; a case's
// analysis; for a combination the envelope's model with the combination's
// forces and no design (only the envelope is designed).
kj::CalculationResult shownCalculation(const kj::EnvelopeResult& e, const Shown& shown);

class FramePainter {
public:
    // With an envelope, result is its envelope calculation: the moment and
    // shear layers draw the largest and least values over the combinations
    // as two curves; layers of one state of equilibrium say to choose a case
    // or a combination.
    explicit FramePainter(const kj::CalculationResult& result, const kj::EnvelopeResult* envelope = nullptr);
    // Added to the title after the layer's name.
    void setCaption(const QString& caption) { caption_ = caption; }
    // What the drift layer checks the storey drifts against (driftCheckOf).
    void setDriftCheck(DriftCheck check) { driftCheck_ = check; }

    void setStyle(const PaintStyle& style) { style_ = style; }
    const PaintStyle& style() const { return style_; }

    // Draws the layer fitted into target (the painter's coordinates).
    void paint(QPainter& painter, const QRectF& target, Layer layer);
    // The height at which a drawing of this width is as large as it gets:
    // a taller target only adds space above and below.
    double preferredHeight(double width) const;

    // Of the last paint: the rectangles of every text drawn, the labels
    // left out for want of room, where a point of the frame (m, y upward
    // from the ground) was drawn, and the magnification of the deflections.
    const std::vector<QRectF>& labelRects() const { return placer_.placed(); }
    // The texts drawn in the last paint, the title and the legend last.
    const std::vector<QString>& labelTexts() const { return texts_drawn_; }
    int skippedLabels() const { return placer_.skipped(); }
    // Every value of a member or a storey in the last paint, drawn or not,
    // and the labels of members with their anchors.
    const std::vector<DrawnValue>& values() const { return values_; }
    std::vector<DrawnValue> droppedValues() const;
    const std::vector<PlacedLabel>& memberLabels() const { return memberLabels_; }
    // Whether a point of the drawing lies nearer member i than any other
    // member of its kind (beams: the span and half the storey heights
    // around it; columns: the storey and half the spans beside it).
    bool nearOwnMember(int member, const QPointF& point) const;
    // "梁3", "柱12", in the numbering of the tables.
    QString memberName(int member) const;
    // The value nearest a point within reach (painter units), for a tooltip: "梁3 左端弯矩 (kN·m): 12.3".
    QString valueNear(const QPointF& point, double reach) const;
    QPointF map(double x, double y) const { return {ox_ + s_ * x, oy_ - s_ * y}; }
    double deflectionMagnification() const { return magnification_; }

private:
    struct Label {
        Label(QString t, QColor c, bool b = false, QString s = QString())
            : text(std::move(t)), colour(c), bold(b), shorter(std::move(s)) {}
        QString text;
        QColor colour;
        bool bold = false;
        QString shorter; // tried when the text finds no room
        QPointF otherSide; // a second direction out from the anchor, tried next (zero: none)
        int member = 0;    // the member the value belongs to (0: none)
        QString what;      // what the value is, for the list of values ("左端弯矩 (kN·m)")
        bool small = false;
    };
    static Label valueLabel(QString text, QColor colour, int member, QString what)
    {
        Label l{std::move(text), colour};
        l.member = member;
        l.what = std::move(what);
        return l;
    }
    struct Extent {
        double W = 1, H = 0; // frame width and height, m
        double minBay = 1;   // smallest span or storey height, m
        double room = 0;     // room for the diagrams around the frame, m
    };
    Extent extent() const;
    void layout(const QRectF& target, double headingHeight);
    // The title and the legend of a layer, at the top left.
    std::vector<std::pair<Label, QRectF>> titleLabels(Layer layer) const;
    void drawMembers(QPainter& p, const QColor& colour, double width, bool dashed = false);
    void drawSupports(QPainter& p);
    void drawGeometry(QPainter& p);
    void drawLoads(QPainter& p);
    void drawMoment(QPainter& p);
    void drawShear(QPainter& p);
    void drawAxial(QPainter& p);
    void drawDeflection(QPainter& p);
    void drawDrift(QPainter& p); // drift_layer.cpp
    QString driftLegend() const;
    void drawReinforcement(QPainter& p);
    // The envelope of moments (moment = true) or shears as two curves.
    void drawEnvelope(QPainter& p, bool moment);
    // The members and a note instead of a drawing.
    void drawNote(QPainter& p, const QString& note);
    // A diagram along member i: the value at x drawn `scale` units per unit
    // toward the right of travel (side = +1) or the left (side = -1).
    template <class F>
    std::vector<QPointF> diagram(QPainter& p, int i, F&& value, double scale, int side, const QColor& fill,
                                 const QColor& edge, bool curved = false);
    QSizeF labelSize(const QString& text, bool bold = false, bool small = false) const;
    // Draws the polylines queued by diagram(): outlines go over every fill.
    void flushOutlines(QPainter& p);
    // Places a label; it is drawn with the others at the end of the paint,
    // over every line, with a leader to leaderTo (default: the anchor) when
    // it had to move away from its first place.
    bool label(QPainter& p, const Label& l, const QPointF& anchor, const QPointF& out, double gap,
               const QPointF& along = QPointF(), double slide = 0, std::optional<QPointF> leaderTo = std::nullopt,
               bool bothWays = true);
    // The value at a member's end: beside the member it belongs to (moved
    // inward from the joint by its own size), sliding only further inward.
    bool endLabel(QPainter& p, const Label& l, const QPointF& at, const QPointF& out, const QPointF& inward,
                  double slide);
    void flushLabels(QPainter& p);
    void drawLabelAt(QPainter& p, const Label& l, const QRectF& rect);
    void arrow(QPainter& p, const QPointF& from, const QPointF& to, const QColor& colour, double head);

    // Member i's ends in the painter's coordinates, and whether it is drawn
    // as a member (a continuous beam's props are not).
    QPointF end1(int i) const;
    QPointF end2(int i) const;
    bool drawn(int i) const;

    const kj::CalculationResult& r_;
    const kj::EnvelopeResult* envelope_ = nullptr;
    // The envelope curves of every member, M then V, made on first use (a
    // frame of many storeys with live-load layouts takes a while).
    std::array<std::vector<std::vector<kj::EnvelopePoint>>, 2> envelopeCurves_;
    QString caption_;
    DriftCheck driftCheck_ = DriftCheck::None;
    std::vector<QString> texts_drawn_;
    DeflectedShape shape_;
    PaintStyle style_;
    LabelPlacer placer_;
    QFont font_, bold_, small_;
    std::optional<QFontMetricsF> metrics_, boldMetrics_, smallMetrics_;
    QFont metrics_font_, metrics_small_;
    mutable QHash<QString, QSizeF> sizes_, boldSizes_, smallSizes_; // label sizes by text
    QHash<QString, QStaticText> texts_, boldTexts_, smallTexts_;     // laid-out lines by text
    std::vector<DrawnValue> values_;
    std::vector<PlacedLabel> memberLabels_;
    struct Outline {
        std::vector<QPointF> points;
        QColor colour;
        bool dashed = false;
    };
    std::vector<Outline> outlines_;
    double s_ = 1, ox_ = 0, oy_ = 0; // metres to painter units
    double amplitude_ = 0;           // painter units of the largest ordinate of a diagram
    double minBay_ = 1;              // smallest span or storey height, m
    double magnification_ = 0;
    struct Pending {
        Label label;
        QRectF rect;
        QLineF leader;
    };
    std::vector<Pending> pending_;
    QRectF target_;
    double lineHeight_ = 12;
};

// The family of the CJK font drawings and the book are written in.
QString drawingFontFamily();
QFont drawingFont(double pixels, bool bold = false);

} // namespace kjd
