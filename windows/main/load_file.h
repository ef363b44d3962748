#pragma once
// The load editor's logic and the distribution of the load file over the
// main window's beam load boxes. No window code: texts in, texts out.
//
// A load file holds one load string per line, each in double quotes, line k
// for beam k (upper beam row first, left to right, then the lower row). It is
// read back as items: commas and line ends separate them, and a quoted item
// keeps its commas.
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kj {

// The editor's boxes by control name ("Text12", "Text13" ...), each as typed;
// a box not given counts as empty.
using LoadBoxTexts = std::map<std::string, std::string, std::less<>>;

// The load string of load code N (the number value of loadCode), the box
// texts joined without separators and without padding or width checks:
//   N = 1: "1" Text12 Text13
//   N = 2: "2" Text14 Text17 Text16 Text18
//   N = 3: "3" Text14 Text17 Text15 "P" Text16 Text18
//   N = 5: "5" Text19 Text24 Text22 "P" Text20 Text25 Text23 "P" Text21 Text26
// Any other code gives the empty string.
std::string composeLoadString(std::string_view loadCode, const LoadBoxTexts& boxes);

// The line the editor writes for a load string: the string in double quotes.
std::string quotedLoadString(std::string_view loadString);

// "追加荷载": appends the quoted load string and CR LF to the load file named
// by slot (created when missing) and returns the whole file as the pane shows
// it, each line followed by CR LF. When the file's last line has no line end,
// one is written first, so the new string never joins the line before it.
// Throws Failure, writing nothing, when the string holds a double quote or a
// line end (it could not be read back whole) or the file cannot be written.
std::string appendLoadString(std::string_view slot, std::string_view loadString);

// "荷载更新": leaves the load file empty (creating it when missing); its
// previous content is kept as the file's .bak.
void emptyLoadFile(std::string_view slot);

// "荷载保存及排序": replaces the load file with the pane's lines, each
// followed by CR LF, without blank lines at the end, so that a later append
// adds a load string and no empty item. The previous content is kept as the
// file's .bak.
void saveLoadPane(std::string_view slot, std::string_view paneText);

// The beam load boxes of the main window's frame template of that many spans
// and storeys, in beam order; none for a shape without a template.
std::vector<std::string> beamLoadBoxes(double spans, double storeys);

// The most load strings the main window takes from a load file.
inline constexpr int kMaxLoadItems = 10;

// "导入荷载数据": the first spans × storeys items of a load file, listed for
// the main window's pane (each in double quotes and followed by CR LF), and
// the beam load boxes that receive them.
struct LoadDistribution {
    std::string paneText;
    std::vector<std::pair<std::string, std::string>> boxes; // control name, load string
};
// From the file's text; shownName names the file in a failure. Throws Failure
// when spans × storeys is below 1 or above kMaxLoadItems, the file holds
// fewer items, or one of them is empty (it would leave its beam unloaded).
LoadDistribution distributeLoadText(const std::string& fileText, std::string_view shownName,
                                    std::string_view spans, std::string_view storeys);
// From the load file named by slot; also throws Failure when it cannot be read.
LoadDistribution distributeLoadFile(std::string_view slot, std::string_view spans, std::string_view storeys);

} // namespace kj
