#pragma once
// What the reinforcement drawing window and the internal-force diagram
// window share: six frame pictures with six beam groups of boxes over them,
// the span and storey boxes, the stamp box, the pane with its file slot, and
// the buttons. The two windows differ in the file they read, where the group
// boxes sit and, for the force diagram, the column boxes.
#include "common_widgets/form_base.h"
#include "viewers/result_views.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kjw {
class FramePicture;
}

class ResultViewer : public kjw::FormBase {
    Q_OBJECT
public:
    // The boxes laid over the pictures: the beam groups and, in the force
    // diagram window, the column pairs.
    const std::vector<QLineEdit*>& sketchBoxes() const { return sketchBoxes_; }
    // A box of the window by its name ("Text32"), or null.
    QLineEdit* box(const std::string& name) const;

    // Frame pictures 1-1, 2-1, 3-1, 1-2, 2-2, 3-2.
    kjw::FramePicture *Image1, *Image2, *Image3, *Image4, *Image5, *Image6;
    // Beam groups 1 to 6, six boxes each, the sixth the beam number.
    QLineEdit *Text1, *Text2, *Text3, *Text4, *Text5, *Text6, *Text7, *Text8, *Text9, *Text10, *Text11, *Text12;
    QLineEdit *Text13, *Text14, *Text15, *Text16, *Text17, *Text18, *Text19, *Text20, *Text21, *Text22;
    QLineEdit *Text23, *Text24, *Text25, *Text26, *Text27, *Text28, *Text29, *Text30, *Text31, *Text32;
    QLineEdit *Text33, *Text34, *Text35, *Text36;
    // Spans L, storeys NF, their heading, the date stamp.
    QLineEdit *Text37, *Text38, *Text39, *Text41;
    // The file's text.
    QPlainTextEdit* Text40;
    QLabel* Label1;
    QComboBox* Combo1;
    QPushButton *Command1, *Command2, *Command3, *Command4, *Command5, *Command6, *Command7, *Command8, *Command9;
    QPushButton *Command10, *Command11, *Command12;

    // Where a box sits, twips, and what differs between the two windows.
    struct Place {
        int left;
        int top;
        int width;
    };
    struct Layout {
        const char* name;
        const char* title;
        int pictureWidth, pictureHeight; // twips
        int boxHeight;                   // the sketch boxes
        int paneWidth;                   // Text40
        std::array<Place, 36> groups;    // Text1 ... Text36
        const char* drawCaption;         // Command6
        QStringList slotNames;           // Combo1's items, the first its text
        const char* shapeHint;           // how to give the shape when L, NF hold none
    };

protected:
    ResultViewer(QWidget* mainWindow, const Layout& layout);

    // A sketch box of the derived window, laid over the pictures.
    QLineEdit* sketchBox(const char* name, const Place& place);

    // Template: shows the picture and the boxes of the shape; the force
    // diagram window also writes the shape into Text37 and Text38.
    void showShape(int shape, bool writeShape);
    // The shape typed into Text37 and Text38, if it is one of the six.
    std::optional<int> typedShape() const;
    // Reads the slot file and writes the texts the reader derives from it;
    // on a failure shows it and changes no box.
    using FileReader = std::vector<kj::BoxText> (*)(int, const std::string&, std::string_view);
    void drawFromFile(const QString& operation, FileReader reader);
    void numberBeams();
    // Widens a sketch box whose text is wider than its place, so that every
    // value shows whole, and returns it to its place when the text fits.
    void fitBox(QLineEdit* box);
    void clearSketch();
    void importFile();
    void saveFile();
    void returnToMain();

private:
    std::vector<QLineEdit*> sketchBoxes_;
    std::map<const QLineEdit*, QRect> places_; // each sketch box's own place
    const char* shapeHint_;
    std::array<kjw::FramePicture*, 6> pictures_{};
};
