#include "common_widgets/button_tips.h"
#include "cases/form_cases.h"

#include "calc/combinations.h"
#include "common/failure.h"
#include "common/textfile.h"
#include "common_widgets/twips.h"
#include "common_widgets/ui_font.h"

#include <QHeaderView>

#include <optional>

using kjw::fromBox;
using kjw::toPane;

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

FormCases::FormCases(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("FormCases"));
    setWindowTitle(QStringLiteral("荷载工况组合"));
    setFont(kjw::songtiFont(9));
    setFixedSize(kjw::twipsSize(10800, 6600));

    // The load cases, each a frame data file of the same frame.
    Label1 = label("Label1", QStringLiteral("恒载 G (含柱自重)"), 240, 240, 1935, 300);
    Combo1 = list("Combo1", 2280, 240, 2175);
    Label2 = label("Label2", QStringLiteral("活载 Q"), 240, 660, 1935, 300);
    Combo2 = list("Combo2", 2280, 660, 2175);
    Label3 = label("Label3", QStringLiteral("风载 W (左风)"), 240, 1080, 1935, 300);
    Combo3 = list("Combo3", 2280, 1080, 2175);
    fillList(Combo1, {QStringLiteral("\\KJ-1.txt"), QStringLiteral("\\KJ-2.txt"), QStringLiteral("\\KJ-3.txt")},
             QStringLiteral("\\KJ-1.txt"));
    fillList(Combo2, {QString(), QStringLiteral("\\KJ-1Q.txt"), QStringLiteral("\\KJ-2Q.txt"), QStringLiteral("\\KJ-3Q.txt")},
             QStringLiteral("\\KJ-1Q.txt"));
    fillList(Combo3, {QString(), QStringLiteral("\\KJ-1W.txt"), QStringLiteral("\\KJ-2W.txt"), QStringLiteral("\\KJ-3W.txt")},
             QStringLiteral("\\KJ-1W.txt"));

    Label9 = label("Label9", QStringLiteral("风载 W2 (右风)"), 240, 1500, 1935, 300);
    Combo8 = list("Combo8", 2280, 1500, 2175);
    fillList(Combo8, {QString(), QStringLiteral("\\KJ-1W2.txt"), QStringLiteral("\\KJ-2W2.txt"), QStringLiteral("\\KJ-3W2.txt")},
             QString());
    Combo8->setToolTip(QStringLiteral("右风的数据文件 (自有体型, 荷载向左给出, 按所给方向计入); 空为无, 右风取 -W"));
    // The built-in rows take +W2 for -W while a W2 file is named.
    connect(Combo8, &QComboBox::editTextChanged, this, [this] {
        if (!filling_) FormCases_Combo4_Activated();
    });

    // The combination set and its combinations.
    Label4 = label("Label4", QStringLiteral("荷载组合"), 240, 1920, 1935, 300);
    Combo4 = list("Combo4", 2280, 1920, 2175);
    Combo4->setEditable(false);
    for (const kj::CombinationSet& set : kj::builtInCombinationSets()) Combo4->addItem(QString::fromUtf8(set.title));
    Combo4->addItem(QString::fromUtf8(kj::kOwnCombinations));
    Label5 = label("Label5", QStringLiteral("组合 (系数×工况, 右风写 -W 或 W2)"), 240, 2340, 4215, 300);
    Table1 = new QTableWidget(0, 1, this);
    Table1->setObjectName(QStringLiteral("Table1"));
    Table1->setGeometry(kjw::twipsRect(240, 2700, 4215, 3240));
    Table1->setHorizontalHeaderLabels({QStringLiteral("组合")});
    Table1->horizontalHeader()->setStretchLastSection(true);
    Table1->setSelectionMode(QAbstractItemView::SingleSelection);
    Table1->verticalHeader()->setDefaultSectionSize(kjw::twips(300));
    connect(Table1, &QTableWidget::itemChanged, this, [this] { rowEdited(); });
    connect(Combo4, &QComboBox::activated, this, &FormCases::FormCases_Combo4_Activated);

    Command1 = button("Command1", QStringLiteral("组合计算"), 4680, 240, 2415, 600, &FormCases::FormCases_Command1_Click);
    Command6 = button("Command6", QStringLiteral("返回计算窗口"), 4680, 960, 2415, 600,
                      &FormCases::FormCases_Command6_Click);
    Command2 = button("Command2", QStringLiteral("增加一行"), 4680, 2340, 2415, 480, &FormCases::FormCases_Command2_Click);
    Command3 = button("Command3", QStringLiteral("删除一行"), 4680, 2940, 2415, 480, &FormCases::FormCases_Command3_Click);
    Combo5 = list("Combo5", 4680, 3780, 2415);
    fillList(Combo5, {QStringLiteral("\\zhgk-1.txt"), QStringLiteral("\\zhgk-2.txt"), QStringLiteral("\\zhgk-3.txt")},
             QStringLiteral("\\zhgk-1.txt"));
    Command4 = button("Command4", QStringLiteral("保存工况"), 4680, 4200, 2415, 480, &FormCases::FormCases_Command4_Click);
    Command5 = button("Command5", QStringLiteral("导入工况"), 4680, 4800, 2415, 480, &FormCases::FormCases_Command5_Click);
    Label6 = label("Label6", QString(), 240, 6060, 10320, 420, Qt::AlignLeft | Qt::AlignVCenter);
    // The factors of the live load in the built-in sets, and its patterns.
    Label7 = label("Label7", QStringLiteral("γL"), 4680, 5400, 360, 300);
    Combo6 = list("Combo6", 5040, 5400, 780);
    Combo6->setEditable(false);
    Combo6->addItems({QStringLiteral("1.0"), QStringLiteral("1.1")});
    Combo6->setToolTip(QStringLiteral("活载设计使用年限调整系数: 1.0 (50 年), 1.1 (100 年)"));
    Label8 = label("Label8", QStringLiteral("ψc"), 5880, 5400, 360, 300);
    Combo7 = list("Combo7", 6240, 5400, 855);
    Combo7->setEditable(false);
    Combo7->addItems({QStringLiteral("0.7"), QStringLiteral("0.9")});
    Combo7->setToolTip(QStringLiteral("活载组合值系数: 0.7, 书库、档案库、储藏室等 0.9"));
    connect(Combo6, &QComboBox::activated, this, &FormCases::FormCases_Combo6_Activated);
    connect(Combo7, &QComboBox::activated, this, &FormCases::FormCases_Combo7_Activated);
    Check1 = new QCheckBox(QStringLiteral("活载不利布置"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(kjw::twipsRect(4680, 5760, 2415, 300));
    Check1->setToolTip(QStringLiteral("各梁的活载分别计算后叠加, 每个设计值取使之最大的布置"));

    // The earthquake, by GB 50011 (the main window's method must be GB50010-2010).
    Frame1 = new QGroupBox(QStringLiteral("地震作用"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(kjw::twipsRect(7320, 120, 3240, 3060));
    const auto inFrame = [this](auto* w, int left, int top, int width, int height) {
        w->setParent(Frame1);
        w->setGeometry(kjw::twipsRect(left, top, width, height));
        return w;
    };
    const auto seismicList = [&](QComboBox*& c, const char* name, int top, const QStringList& items, const QString& tip) {
        c = inFrame(list(name, 0, 0, 0), 1380, top, 1740, kjw::kListHeight);
        c->setEditable(false);
        c->addItems(items);
        c->setToolTip(tip);
    };
    Label10 = inFrame(label("Label10", QStringLiteral("设防烈度"), 0, 0, 0, 0), 120, 360, 1200, 300);
    seismicList(Combo9, "Combo9", 360,
                {QStringLiteral("无"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("7.5 (0.15g)"),
                 QStringLiteral("8"), QStringLiteral("8.5 (0.30g)"), QStringLiteral("9")},
                QStringLiteral("抗震设防烈度; \"无\" 为不作抗震设计 (抗震设计只用于 GB50010-2010)"));
    Label11 = inFrame(label("Label11", QStringLiteral("场地类别"), 0, 0, 0, 0), 120, 780, 1200, 300);
    seismicList(Combo10, "Combo10", 780,
                {QStringLiteral("I0"), QStringLiteral("I1"), QStringLiteral("II"), QStringLiteral("III"), QStringLiteral("IV")},
                QStringLiteral("建筑场地类别 (GB 50011 表 5.1.4-2)"));
    Combo10->setCurrentIndex(2);
    Label12 = inFrame(label("Label12", QStringLiteral("设计地震分组"), 0, 0, 0, 0), 120, 1200, 1200, 300);
    seismicList(Combo11, "Combo11", 1200, {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                QStringLiteral("设计地震分组 第一、二、三组"));
    Label13 = inFrame(label("Label13", QStringLiteral("抗震等级"), 0, 0, 0, 0), 120, 1620, 1200, 300);
    seismicList(Combo12, "Combo12", 1620,
                {QStringLiteral("自动 (表 6.1.2)"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                 QStringLiteral("4")},
                QStringLiteral("框架的抗震等级: 自动按高度和烈度 (GB 50011 表 6.1.2), 或指定一至四级"));
    Label14 = inFrame(label("Label14", QStringLiteral("周期折减 ψT"), 0, 0, 0, 0), 120, 2040, 1200, 300);
    Text1 = inFrame(lineBox("Text1", 0, 0, 0), 1380, 2040, 1740, kjw::kBoxHeight);
    Text1->setText(QStringLiteral("0.7"));
    Text1->setToolTip(QStringLiteral("考虑填充墙的周期折减系数, 0 < ψT ≤ 1, 默认 0.7"));
    Check2 = inFrame(new QCheckBox(QStringLiteral("两端柱为角柱"), Frame1), 120, 2460, 3000, 300);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setToolTip(QStringLiteral("边榀框架: 最左、最右两列柱是房屋的角柱, 按角柱设计 (调整后的弯矩、剪力×1.10, "
                                      "角柱最小配筋率, 一、二级沿全高加密箍筋); 不选则各柱按中柱、边柱"));
    Label15 = label("Label15", QStringLiteral("抗震设计须用 GB50010-2010 (计算窗口的设计规范); 地震组合列在所选组合之后"),
                    7320, 3300, 3240, 900, Qt::AlignLeft | Qt::AlignTop);
    Label15->setWordWrap(true);
    connect(Combo9, &QComboBox::activated, this, &FormCases::FormCases_Combo9_Activated);

    FormCases_Combo4_Activated();
    FormCases_Combo9_Activated();
    kjw::explainButtons(this);
}

void FormCases::FormCases_Combo9_Activated()
{
    const bool seismic = Combo9->currentIndex() > 0;
    for (QWidget* w : std::initializer_list<QWidget*>{Combo10, Combo11, Combo12, Text1, Check2}) w->setEnabled(seismic);
}

std::vector<std::string> FormCases::rows() const
{
    std::vector<std::string> out;
    for (int r = 0; r < Table1->rowCount(); ++r) {
        const QTableWidgetItem* item = Table1->item(r, 0);
        out.push_back(item ? fromBox(item->text().trimmed()) : std::string());
    }
    return out;
}

void FormCases::fillRows(const std::vector<std::string>& rows)
{
    filling_ = true;
    Table1->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        Table1->setItem(r, 0, new QTableWidgetItem(qs(rows[static_cast<std::size_t>(r)])));
    filling_ = false;
}

// A row typed by the user makes the list the user's own.
void FormCases::rowEdited()
{
    if (filling_) return;
    Combo4->setCurrentText(QString::fromUtf8(kj::kOwnCombinations));
}

void FormCases::FormCases_Combo4_Activated()
{
    const std::string set = fromBox(Combo4->currentText());
    if (set == kj::kOwnCombinations) return; // the table stays as it is, for editing
    attempt(QStringLiteral("选择荷载组合"), [&] {
        const kj::LiveLoadFactors factors =
            kj::parseLiveLoadFactors(fromBox(Combo6->currentText()), fromBox(Combo7->currentText()));
        fillRows(kj::combinationSet(set).rowsWith(factors, !Combo8->currentText().trimmed().isEmpty()));
    });
}

void FormCases::FormCases_Combo6_Activated() { FormCases_Combo4_Activated(); }
void FormCases::FormCases_Combo7_Activated() { FormCases_Combo4_Activated(); }

kj::CaseWindowState FormCases::state() const
{
    kj::CaseWindowState s;
    s.G = fromBox(Combo1->currentText());
    s.Q = fromBox(Combo2->currentText());
    s.W = fromBox(Combo3->currentText());
    s.set = fromBox(Combo4->currentText());
    s.gammaL = fromBox(Combo6->currentText());
    s.psiC = fromBox(Combo7->currentText());
    s.patterns = Check1->isChecked();
    s.W2 = fromBox(Combo8->currentText());
    if (const int at = Combo9->currentIndex(); at > 0) {
        static const char* const intensities[] = {"", "6", "7", "7.5", "8", "8.5", "9"};
        s.seismic.intensity = intensities[at];
        s.seismic.site = fromBox(Combo10->currentText());
        s.seismic.group = fromBox(Combo11->currentText());
        s.seismic.grade = Combo12->currentIndex() > 0 ? fromBox(Combo12->currentText()) : std::string();
        s.seismic.psiT = fromBox(Text1->text().trimmed());
        s.seismic.cornerColumns = Check2->isChecked();
    }
    for (const std::string& row : rows())
        if (!row.empty()) s.rows.push_back(row);
    return s;
}

void FormCases::setState(const kj::CaseWindowState& s)
{
    // The factors are checked first, so that a state refused changes nothing.
    kj::parseLiveLoadFactors(s.gammaL, s.psiC);
    const int gammaAt = Combo6->findText(qs(s.gammaL)), psiAt = Combo7->findText(qs(s.psiC));
    if (gammaAt < 0 || psiAt < 0)
        throw kj::Failure("活载系数 γL " + s.gammaL + "、ψc " + s.psiC + " 应写成 1.0、1.1 和 0.7、0.9");
    std::optional<kj::SeismicParameters> seismic;
    if (!s.seismic.intensity.empty()) seismic = kj::parseSeismicParameters(s.seismic);
    Combo1->setEditText(qs(s.G));
    Combo2->setEditText(qs(s.Q));
    Combo3->setEditText(qs(s.W));
    filling_ = true; // the table is filled once, below
    Combo8->setEditText(qs(s.W2));
    filling_ = false;
    Combo9->setCurrentIndex(seismic ? static_cast<int>(seismic->intensity) + 1 : 0);
    if (seismic) {
        Combo10->setCurrentIndex(static_cast<int>(seismic->site));
        Combo11->setCurrentIndex(seismic->group - 1);
        Combo12->setCurrentIndex(seismic->grade.value_or(0));
        Text1->setText(qs(s.seismic.psiT.empty() ? std::string("0.7") : s.seismic.psiT));
    }
    Check2->setChecked(seismic && seismic->cornerColumns);
    FormCases_Combo9_Activated();
    Combo6->setCurrentIndex(gammaAt);
    Combo7->setCurrentIndex(psiAt);
    Check1->setChecked(s.patterns);
    const int at = Combo4->findText(qs(s.set));
    Combo4->setCurrentIndex(at >= 0 ? at : Combo4->findText(QString::fromUtf8(kj::kOwnCombinations)));
    // A built-in set shows its own table; the user's list shows the rows kept.
    if (at >= 0 && s.set != kj::kOwnCombinations) FormCases_Combo4_Activated();
    else fillRows(s.rows);
}

void FormCases::FormCases_Command1_Click()
{
    attempt(QStringLiteral("荷载工况组合计算"), [&] {
        kj::CalcRequest request = mainRequest ? mainRequest() : kj::CalcRequest{};
        const kj::CaseWindowState s = state();
        for (const auto& [letter, name] :
             {std::pair{"G", s.G}, std::pair{"Q", s.Q}, std::pair{"W", s.W}, std::pair{"W2", s.W2}})
            if (!name.empty()) request.cases.emplace_back(letter, name);
        request.seismic = s.seismic;
        if (request.cases.empty()) throw kj::Failure("请至少给出恒载 G 的数据文件");
        if (s.set == kj::kOwnCombinations) request.combinations = s.rows;
        else request.combinationSet = s.set;
        const kj::LiveLoadFactors factors = kj::parseLiveLoadFactors(s.gammaL, s.psiC);
        request.gammaL = factors.gammaL;
        request.psiC = factors.psiC;
        request.liveLoadPatterns = s.patterns;
        const kj::CalcResult result = kj::runCalculation(request);
        if (showResult) showResult(result);
        Label6->setText(QStringLiteral("计算完成: %1 个组合, 计算书 %2 (控制组合写在各行之下)")
                            .arg(result.envelope ? static_cast<int>(result.envelope->combinations.size()) : 0)
                            .arg(qs(kj::shownOutputName(request.reportName))));
    });
}

void FormCases::FormCases_Command2_Click()
{
    const int at = Table1->currentRow() >= 0 ? Table1->currentRow() + 1 : Table1->rowCount();
    filling_ = true;
    Table1->insertRow(at);
    Table1->setItem(at, 0, new QTableWidgetItem());
    filling_ = false;
    Table1->setCurrentCell(at, 0);
}

void FormCases::FormCases_Command3_Click()
{
    const int at = Table1->currentRow();
    if (at < 0) return;
    Table1->removeRow(at);
    rowEdited();
}

void FormCases::FormCases_Command4_Click()
{
    attempt(QStringLiteral("保存工况"), [&] {
        const std::string name = fromBox(Combo5->currentText());
        kj::replaceTextFile(kj::slotPath(name), kj::formatCaseState(state()), name);
    });
}

void FormCases::FormCases_Command5_Click()
{
    attempt(QStringLiteral("导入工况"), [&] {
        const std::string name = fromBox(Combo5->currentText());
        setState(kj::parseCaseState(kj::readTextFile(kj::slotPath(name), name), name));
    });
}

void FormCases::FormCases_Command6_Click()
{
    hide();
    if (QWidget* main = parentWidget()) {
        main->show();
        main->raise();
        main->activateWindow();
    }
}
