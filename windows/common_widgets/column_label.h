#pragma once
// A label whose words stand one under another at a fixed pitch, for the row
// numbers that run down the left side of a column of boxes.
#include <QLabel>

namespace kjw {

class ColumnLabel : public QLabel {
    Q_OBJECT
public:
    ColumnLabel(const QString& text, int pitchPixels, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int pitch_;
};

} // namespace kjw
