#pragma once
// The picture of a plane frame of 1 to 3 spans and 1 to 2 storeys: white
// members on black, a green dimension line along the top with one division
// per span and one down the left side with one division per storey, the
// columns fixed at the ground. Every frame window lays its entry boxes over
// such a picture, so the axes and levels are given by the window.
#include <QWidget>

#include <array>

namespace kjw {

// Where the members and dimension lines lie, in twips from the picture's
// top-left corner.
struct FrameGeometry {
    std::array<int, 4> axisX{};  // column axes 1 to 4, left to right
    std::array<int, 3> levelY{}; // upper beams, lower beams, ground of a two-storey frame;
                                 // a one-storey frame stands on levelY[1]
    int dimensionTopY = 0;       // the span dimension line
    int dimensionLeftX = 0;      // the storey dimension line
};

class FramePicture : public QWidget {
    Q_OBJECT
public:
    FramePicture(int spans, int storeys, const FrameGeometry& geometry, QWidget* parent = nullptr);

    int spans() const { return spans_; }
    int storeys() const { return storeys_; }
    // The result viewers show the members alone, without dimension lines.
    void setDimensionLines(bool shown) { dimensionLines_ = shown; update(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int spans_;
    int storeys_;
    FrameGeometry geometry_;
    bool dimensionLines_ = true;
};

} // namespace kjw
