#pragma once
// The moves of a file's text into and out of a window's pane. No window
// code: slot names and texts in, texts out.
#include <string>
#include <string_view>

namespace kj {

// A file's lines, each followed by CR LF: what a pane shows after importing it.
std::string importPaneText(std::string_view slot);
// Replaces the file with the pane's text followed by one CR LF; the previous
// content is kept as the file's .bak.
void savePaneText(std::string_view slot, std::string_view paneText);

} // namespace kj
