#pragma once
// The windows' font: 宋体, with the installed CJK fonts as substitutes where
// 宋体 itself is missing.
#include <QFont>

namespace kjw {

// 宋体 at the given size in points at 96 dpi (9 pt = 12 px), set in pixels so
// that text keeps its place among the twips positions on any screen.
QFont songtiFont(int points = 9);

// A monospaced CJK font, in which a Chinese character is as wide as two
// Latin letters, for column-aligned texts such as the calculation report.
QFont tableFont(int points = 9);

} // namespace kjw
