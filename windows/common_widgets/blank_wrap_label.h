#pragma once
// A caption that wraps only at blanks, so that the words of a caption over a
// row of boxes keep together and its last line stands over those boxes.
#include <QLabel>

namespace kjw {

class BlankWrapLabel : public QLabel {
    Q_OBJECT
public:
    explicit BlankWrapLabel(const QString& text, QWidget* parent = nullptr);

    // The lines the caption is drawn in at the label's width.
    QStringList wrappedLines() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kjw
