#include "viewers/form2.h"

namespace {

// Bar strings, stirrup strings and beam numbers, twips wide.
constexpr int kBars = 1425;
constexpr int kStirrups = 855;
constexpr int kNumber = 375;

// Each group: top bars left, top bars right, stirrups left, bottom bars,
// stirrups right, beam number; upper row spans 1 to 3, then the lower row.
ResultViewer::Layout form2Layout()
{
    return {
        "Form2",
        "配筋查询",
        11265,
        6165,
        kjw::kBoxHeight,
        6855,
        {{
            {480, 480, kBars}, {2400, 480, kBars}, {480, 960, kStirrups},
            {1440, 1320, kBars}, {2880, 960, kStirrups}, {1920, 240, kNumber},
            {4080, 480, kBars}, {6000, 480, kBars}, {4080, 960, kStirrups},
            {4920, 1320, kBars}, {6360, 960, kStirrups}, {5520, 240, kNumber},
            {7680, 480, kBars}, {9600, 480, kBars}, {7680, 960, kStirrups},
            {8520, 1320, kBars}, {9840, 960, kStirrups}, {9120, 240, kNumber},
            {480, 3120, kBars}, {2280, 3120, kBars}, {480, 3720, kStirrups},
            {1320, 4080, kBars}, {2760, 3720, kStirrups}, {1920, 2760, kNumber},
            {4080, 3120, kBars}, {5880, 3120, kBars}, {4080, 3720, kStirrups},
            {4920, 4080, kBars}, {6360, 3720, kStirrups}, {5520, 2760, kNumber},
            {7680, 3120, kBars}, {9480, 3120, kBars}, {7680, 3720, kStirrups},
            {8520, 4080, kBars}, {9840, 3720, kStirrups}, {9120, 2760, kNumber},
        }},
        "配筋图示",
        {QStringLiteral("\\Lpj-1.txt"), QStringLiteral("\\Lpj-2.txt"), QStringLiteral("\\Lpj-3.txt")},
        "请在 L、NF 框中输入跨数和层数 (本窗口的框架按钮只显示图形, 不填这两个框)",
    };
}

} // namespace

Form2::Form2(QWidget* mainWindow) : ResultViewer(mainWindow, form2Layout())
{
    Text32->setText(QStringLiteral("2,22+3,25 3/2")); // an example bar string

    connect(Command1, &QPushButton::clicked, this, &Form2::Form2_Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Form2_Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Form2_Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Form2_Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Form2_Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form2::Form2_Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form2::Form2_Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &Form2::Form2_Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &Form2::Form2_Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &Form2::Form2_Command10_Click);
    connect(Command11, &QPushButton::clicked, this, &Form2::Form2_Command11_Click);
    connect(Command12, &QPushButton::clicked, this, &Form2::Form2_Command12_Click);
}

// The templates show the groups and the picture; the shape stays as typed.
void Form2::Form2_Command2_Click() { showShape(0, false); }
void Form2::Form2_Command3_Click() { showShape(1, false); }
void Form2::Form2_Command4_Click() { showShape(2, false); }
void Form2::Form2_Command5_Click() { showShape(3, false); }
void Form2::Form2_Command7_Click() { showShape(4, false); }
void Form2::Form2_Command8_Click() { showShape(5, false); }

void Form2::Form2_Command6_Click() { drawFromFile(QStringLiteral("配筋图示"), &kj::reinforcementTexts); }
void Form2::Form2_Command9_Click() { clearSketch(); }
void Form2::Form2_Command10_Click() { numberBeams(); }
void Form2::Form2_Command11_Click() { saveFile(); }
void Form2::Form2_Command12_Click() { importFile(); }
void Form2::Form2_Command1_Click() { returnToMain(); }
