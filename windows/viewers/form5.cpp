#include "viewers/form5.h"

#include "common_widgets/twips.h"

namespace {

// End moments, shears and the span moment, beam numbers and column moments,
// twips wide; every box of the sketch is 270 high.
constexpr int kForce = 855;
constexpr int kNumber = 375;
constexpr int kColumn = 495;

// Each group: M1, M2, V1, Mo, V2, beam number; upper row spans 1 to 3, then
// the lower row.
ResultViewer::Layout form5Layout()
{
    return {
        "Form5",
        "内力查询",
        11280,
        6195,
        270,
        6375,
        {{
            {480, 480, kForce}, {3000, 480, kForce}, {480, 960, kForce},
            {1680, 1320, kForce}, {2880, 960, kForce}, {1920, 360, kNumber},
            {4080, 480, kForce}, {6480, 480, kForce}, {4080, 960, kForce},
            {5280, 1320, kForce}, {6360, 960, kForce}, {5520, 360, kNumber},
            {7680, 480, kForce}, {10200, 480, kForce}, {7680, 960, kForce},
            {8880, 1320, kForce}, {9840, 960, kForce}, {9120, 360, kNumber},
            {480, 3120, kForce}, {2880, 3120, kForce}, {480, 3720, kForce},
            {1680, 4080, kForce}, {2760, 3720, kForce}, {1920, 3000, kNumber},
            {4080, 3120, kForce}, {6480, 3120, kForce}, {4080, 3720, kForce},
            {5280, 4080, kForce}, {6360, 3720, kForce}, {5520, 3000, kNumber},
            {7680, 3120, kForce}, {9960, 3120, kForce}, {7680, 3720, kForce},
            {8760, 4080, kForce}, {9840, 3720, kForce}, {9120, 3000, kNumber},
        }},
        "内力图示",
        {QStringLiteral("\\mvts-1.txt"), QStringLiteral("\\mvts-2.txt"), QStringLiteral("\\mvts-3.txt")},
        "请输入或按框架按钮选择",
    };
}

} // namespace

Form5::Form5(QWidget* mainWindow) : ResultViewer(mainWindow, form5Layout())
{
    // Column pairs on the column lines: upper storey tops and bottoms, then
    // the lower storey's.
    const auto column = [this](const char* name, int left, int top) {
        QLineEdit* b = sketchBox(name, {left, top, kColumn});
        b->setFixedHeight(kjw::twips(270));
        return b;
    };
    Text42 = column("Text42", 480, 1440);
    Text43 = column("Text43", 480, 2640);
    Text44 = column("Text44", 3240, 1440);
    Text45 = column("Text45", 3240, 2640);
    Text46 = column("Text46", 6840, 1440);
    Text47 = column("Text47", 6840, 2640);
    Text48 = column("Text48", 10320, 1440);
    Text49 = column("Text49", 10320, 2640);
    Text50 = column("Text50", 480, 4200);
    Text51 = column("Text51", 480, 5400);
    Text52 = column("Text52", 3240, 4200);
    Text53 = column("Text53", 3240, 5400);
    Text54 = column("Text54", 6840, 4200);
    Text55 = column("Text55", 6840, 5400);
    Text56 = column("Text56", 10320, 4200);
    Text57 = column("Text57", 10320, 5400);
    // The shape boxes and the stamp stay over the column boxes.
    for (QWidget* b : {static_cast<QWidget*>(Text39), static_cast<QWidget*>(Text37), static_cast<QWidget*>(Text38),
                       static_cast<QWidget*>(Text41)})
        b->raise();

    connect(Command1, &QPushButton::clicked, this, &Form5::Form5_Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Form5_Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form5::Form5_Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form5::Form5_Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form5::Form5_Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form5::Form5_Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form5::Form5_Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form5::Form5_Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form5::Form5_Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form5::Form5_Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &Form5::Form5_Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &Form5::Form5_Command12_Click);
}

// The templates show the groups, the column pairs and the picture, and set
// the shape.
void Form5::Form5_Command2_Click() { showShape(0, true); }
void Form5::Form5_Command3_Click() { showShape(1, true); }
void Form5::Form5_Command4_Click() { showShape(2, true); }
void Form5::Form5_Command5_Click() { showShape(3, true); }
void Form5::Form5_Command7_Click() { showShape(4, true); }
void Form5::Form5_Command8_Click() { showShape(5, true); }

void Form5::Form5_Command6_Click() { drawFromFile(QStringLiteral("内力图示"), &kj::forceDiagramTexts); }
void Form5::Form5_Command9_Click() { clearSketch(); }
void Form5::Form5_Command10_Click() { numberBeams(); }
void Form5::Form5_Command11_Click() { saveFile(); }
void Form5::Form5_Command12_Click() { importFile(); }
void Form5::Form5_Command1_Click() { returnToMain(); }
