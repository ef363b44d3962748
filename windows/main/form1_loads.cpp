// The main window's "导入荷载数据": the load strings of the load file into
// the beam load boxes of the frame template.
#include "common/failure.h"
#include "main/form1.h"
#include "main/load_file.h"

#include <exception>

void Form1::Form1_Command23_Click()
{
    attempt(QStringLiteral("导入荷载数据"), [&] {
        // Everything is read before anything is shown: a failure leaves the
        // pane and the boxes as they were.
        const kj::LoadDistribution d = kj::distributeLoadFile(kjw::boxText(Combo23), kjw::boxText(Text67),
                                                              kjw::boxText(Text68));
        Text2->setPlainText(kjw::toPane(d.paneText));
        for (const auto& [name, load] : d.boxes)
            // Only the main window's own boxes: the other windows are its children too.
            if (auto* box = findChild<QWidget*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly))
                kjw::setBoxText(box, load);
    });
}
