#pragma once
// What every window of the program shares: controls placed in twips with
// the program's font and behaviour, the message and input boxes (replaceable,
// so that tests answer them without a person), and the texts of boxes and
// panes as the core sees them (lines joined by CR LF).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPoint>
#include <QPushButton>
#include <QString>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace kjw {

class FramePicture;
struct FrameGeometry;

// Box and pane texts hold lines separated by "\n"; the core and the files use
// CR LF. Texts cross between them only through these.
std::string fromBox(QString text);
QString toPane(const std::string& text);
// The text of a line box or a multi-line box, with CR LF line ends.
std::string boxText(const QWidget* box);
void setBoxText(QWidget* box, const std::string& text);

constexpr int kBoxHeight = 285;  // one line of text, twips
constexpr int kListHeight = 300; // a drop-down list, twips

class FormBase : public QWidget {
    Q_OBJECT
public:
    explicit FormBase(QWidget* parent = nullptr);

    // inputBox(prompt, title, default answer, top-left in pixels or none):
    // the typed text, empty when cancelled.
    std::function<QString(const QString&, const QString&, const QString&, std::optional<QPoint>)> inputBox;
    // A message with an OK button.
    std::function<void(const QString&)> messageBox;

protected:
    // An editable file slot or value list; typing never adds to its items.
    QComboBox* list(const char* name, int left, int top, int width);
    QLineEdit* lineBox(const char* name, int left, int top, int width);
    // One line high, wrapping, with a vertical scroll bar for longer texts.
    QPlainTextEdit* lineHighPane(const char* name, int left, int top, int width);
    // A pane: multi-line, both scroll bars, no wrapping.
    QPlainTextEdit* pane(const char* name, int left, int top, int width, int height);
    QLabel* label(const char* name, const QString& text, int left, int top, int width, int height,
                  Qt::Alignment align = Qt::AlignLeft | Qt::AlignBottom);
    template <class W>
    QPushButton* button(const char* name, const QString& caption, int left, int top, int width, int height,
                        void (W::*slot)())
    {
        QPushButton* b = makeButton(name, caption, left, top, width, height);
        connect(b, &QPushButton::clicked, static_cast<W*>(this), slot);
        return b;
    }
    // Fills a list with its items in order and sets its text.
    static void fillList(QComboBox* combo, const QStringList& items, const QString& text);
    // Shows the failure of a button's operation; the window stays as it was.
    void reportFailure(const QString& operation, const std::string& message);
    // Runs a button's operation; a failure is shown as its message and the
    // window stays usable.
    void attempt(const QString& operation, const std::function<void()>& run);
    // A pane and its file slot: import shows every line of the file, each
    // followed by CR LF; save writes the pane's text and one CR LF.
    void importPane(const QString& operation, const QComboBox* slot, QPlainTextEdit* pane);
    void savePane(const QString& operation, const QComboBox* slot, const QPlainTextEdit* pane);
    // The six frame pictures Image1..Image6 (1-1, 2-1, 3-1, 1-2, 2-2, 3-2),
    // stacked at one place in twips and hidden.
    std::array<FramePicture*, 6> framePictures(const FrameGeometry& geometry, int left, int top, int width,
                                               int height);

private:
    QPushButton* makeButton(const char* name, const QString& caption, int left, int top, int width, int height);
};

} // namespace kjw
