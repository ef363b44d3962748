#pragma once
// The load editor's explanatory picture: three example beams, N=1 with a
// uniform load over the whole beam, N=3 with a uniform load and one point
// load, N=5 with a uniform load and two point loads. Each beam has its end
// supports and a dimension line below, divided at the point loads. White
// beams and supports on black, yellow loads, green dimension lines; the
// editor's boxes lie over the loads and the dimension lines.
#include <QWidget>

#include <vector>

namespace kjw {

class LoadPicture : public QWidget {
    Q_OBJECT
public:
    // One example beam, in twips from the picture's top-left corner.
    struct Beam {
        const char* label;     // "N=1"
        int labelX, labelY;    // the label's baseline start
        int left, right;       // beam ends
        int beamY;             // the beam's axis
        int loadTop;           // the top of the uniform load
        std::vector<int> forces; // x of the point loads, left to right
        int forceTop;          // where the point-load arrows start
        int dimensionY;        // the dimension line
    };

    explicit LoadPicture(QWidget* parent = nullptr);

    // The three example beams as drawn.
    static const std::vector<Beam>& beams();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kjw
