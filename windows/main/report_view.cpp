#include "main/report_view.h"

#include "common/textfile.h"
#include "common_widgets/form_base.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QVBoxLayout>

ReportView::ReportView(QWidget* mainWindow) : QWidget(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("ReportView"));
    setWindowTitle(QStringLiteral("计算书"));
    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setFont(kjw::tableFont());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text1);
    resize(kjw::twipsSize(13500, 9000));
}

void ReportView::showReport(const std::string& slot)
{
    const QString text = kjw::toPane(kj::readTextFile(kj::slotPath(slot), slot));
    setWindowTitle(QStringLiteral("计算书 %1").arg(QString::fromStdString(slot)));
    Text1->setPlainText(text);
    // Each calculation starts its block with a starred title line.
    int last = -1;
    for (QTextBlock b = Text1->document()->lastBlock(); b.isValid(); b = b.previous())
        if (b.text().contains(QStringLiteral("输入信息  *******"))) {
            last = b.blockNumber();
            break;
        }
    QScrollBar* bar = Text1->verticalScrollBar();
    Text1->moveCursor(QTextCursor::End);
    if (last >= 0) {
        Text1->setTextCursor(QTextCursor(Text1->document()->findBlockByNumber(last)));
        bar->setValue(last); // a plain text view scrolls by lines: the title line on top
    }
}
