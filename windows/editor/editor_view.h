#pragma once
// The frame editor's drawing: the project as the drawing library's
// 计算简图 or 荷载 layer, redrawn after every edit, with the selected members
// drawn over it. Clicking a member selects it (with Ctrl, adds it).
#include "calc/project.h"
#include "frame_painter.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace kjw {

// What the editor draws for one case of a project: its frame model and the
// analysis of its loads (no design), so that the loads layer shows the
// loads as the calculation takes them. A frame that cannot be analysed
// (a singular one) keeps its model without forces; the reason is in
// problem.
struct EditorDrawing {
    kj::CalculationResult result;
    std::string problem;
};
EditorDrawing editorDrawing(const kj::Project& project, kj::LoadCaseKind kind);

class EditorView : public QWidget {
    Q_OBJECT
public:
    explicit EditorView(QWidget* parent = nullptr);

    // Draws the case of the project (G where the project has no such case).
    void setProject(const kj::Project& project, kj::LoadCaseKind kind);
    void setLayer(kjd::Layer layer);
    kjd::Layer layer() const { return layer_; }
    void setSelected(const std::vector<int>& members);
    const std::vector<int>& selected() const { return selected_; }

    // The member (1..NB+NC, the analysis's numbering) drawn nearest the
    // point, within a few pixels; 0 for none. Valid after a paint.
    int memberAt(const QPointF& point) const;
    // The drawing as shown (tests, the benchmark).
    const kj::CalculationResult* result() const { return drawing_ ? &drawing_->result : nullptr; }
    QString problem() const;
    // Where member i's ends were drawn in the last paint.
    std::pair<QPointF, QPointF> memberEnds(int i) const;

    QSize sizeHint() const override { return {640, 480}; }

signals:
    void memberClicked(int member, bool add);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    std::optional<EditorDrawing> drawing_;
    std::unique_ptr<kjd::FramePainter> painter_;
    kjd::Layer layer_ = kjd::Layer::Loads;
    std::vector<int> selected_;
};

} // namespace kjw
