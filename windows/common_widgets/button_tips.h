#pragma once
// What every button of the program's windows does, one sentence each, shown
// as its tooltip. Buttons with the same caption do the same in every window.
#include <QString>

class QWidget;

namespace kjw {

// The tooltip of a button by its caption (spaces do not count), empty when
// the caption is not listed.
QString buttonTip(const QString& caption);

// Gives every button of the window that has no tooltip yet its tip by caption.
void explainButtons(QWidget* window);

} // namespace kjw
