#include "shared/pane_text.h"

#include "common/backup.h"
#include "common/text.h"
#include "common/textfile.h"

namespace kj {

std::string importPaneText(std::string_view slot)
{
    std::string text;
    for (const std::string& line : splitLines(readTextFile(slotPath(slot), slot))) {
        text += line;
        text += CRLF;
    }
    return text;
}

void savePaneText(std::string_view slot, std::string_view paneText)
{
    const auto path = slotPath(slot);
    keepBackup(path, slot);
    replaceTextFile(path, std::string(paneText) + CRLF, slot);
}

} // namespace kj
