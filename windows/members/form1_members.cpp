// The main window's "导入构件数据": member parameter correction on the main
// window's own slot list, pane, frame shape and entry and value boxes.
#include "main/form1.h"
#include "members/form4.h"

void Form1::Form1_Command28_Click()
{
    kjw::correctMemberBoxes(this, QStringLiteral("导入构件数据"), Combo2, Text2, Text67, Text68);
}
