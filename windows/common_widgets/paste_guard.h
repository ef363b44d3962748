#pragma once
// Pasting into a multi-line text box while the clipboard holds no data.
//
// Qt 6.4 reads the first format of the clipboard's data without checking
// that there is one (QWidgetTextControl::insertFromMimeData). While no
// program owns the X clipboard, the data it gets has no format at all, so
// Ctrl+V, Shift+Insert or a middle click in a QPlainTextEdit or QTextEdit
// would end the program. One filter on the application makes such a paste
// do nothing; single-line boxes read the data safely and are left alone.

namespace kjw {

// Installs the filter on the running application; later calls do nothing.
void guardEmptyPaste();

} // namespace kjw
