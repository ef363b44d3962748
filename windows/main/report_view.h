#pragma once
// The calculation report, read-only, in a resizable window of its own: a
// monospaced CJK font keeps the report's columns in line, and the view opens
// at the last calculation's block.
#include <QPlainTextEdit>
#include <QWidget>

#include <string>

class ReportView : public QWidget {
    Q_OBJECT
public:
    explicit ReportView(QWidget* mainWindow);

    // Shows the report file of the slot, scrolled so that the title line of
    // its last block stands at the top (the end of the file when it has
    // none). Throws Failure naming the slot when the file cannot be read;
    // the view then keeps what it showed.
    void showReport(const std::string& slot);

    QPlainTextEdit* Text1;
};
