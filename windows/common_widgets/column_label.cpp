#include "common_widgets/column_label.h"

#include <QPainter>

namespace kjw {

ColumnLabel::ColumnLabel(const QString& text, int pitchPixels, QWidget* parent)
    : QLabel(text, parent), pitch_(pitchPixels)
{
}

void ColumnLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const QStringList words = text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const int lineHeight = fontMetrics().height();
    for (int i = 0; i < words.size(); ++i)
        p.drawText(QRect(0, i * pitch_, width(), lineHeight), Qt::AlignLeft | Qt::AlignTop, words[i]);
}

} // namespace kjw
