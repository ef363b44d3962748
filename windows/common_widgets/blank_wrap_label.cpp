#include "common_widgets/blank_wrap_label.h"

#include <QPainter>
#include <QRegularExpression>

namespace kjw {

BlankWrapLabel::BlankWrapLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {}

QStringList BlankWrapLabel::wrappedLines() const
{
    // Words with the blanks before them; a line never starts with blanks.
    static const QRegularExpression word(QStringLiteral(" *[^ ]+"));
    const QFontMetrics metrics(font());
    QStringList lines;
    QString line;
    for (auto it = word.globalMatch(text()); it.hasNext();) {
        const QString piece = it.next().captured();
        const QString candidate = line + piece;
        if (!line.isEmpty() && metrics.horizontalAdvance(candidate) > width()) {
            lines << line;
            line = piece.trimmed();
        } else {
            line = line.isEmpty() ? (lines.isEmpty() ? piece : piece.trimmed()) : candidate;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

void BlankWrapLabel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(palette().color(QPalette::WindowText));
    p.setFont(font());
    const QStringList lines = wrappedLines();
    const int lineHeight = fontMetrics().height();
    const int total = lineHeight * int(lines.size());
    int y = alignment() & Qt::AlignBottom ? height() - total : 0;
    for (const QString& line : lines) {
        p.drawText(QRect(0, y, width(), lineHeight), Qt::AlignLeft | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}

} // namespace kjw
