#include "common_widgets/screen_fit.h"
#include "editor/editor_form.h"

#include "calc/data_file_calculation.h"
#include "calc/load_cases.h"
#include "calc/run.h"
#include "calc_book.h"
#include "common/backup.h"
#include "common/failure.h"
#include "common/numbers.h"
#include "common/textfile.h"
#include "common_widgets/ui_font.h"
#include "editor/project_edits.h"
#include "graphics/graphics_form.h"
#include "main/report_view.h"
#include "main/working_folder.h"

#include <QAction>
#include <QDir>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QUndoCommand>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

using kj::Failure;

namespace {

std::size_t ix(int i) { return static_cast<std::size_t>(i); }
QString qs(const std::string& s) { return QString::fromStdString(s); }
QString num(double x) { return qs(kj::shortestDecimal(x)); }

const QString kUniform = QStringLiteral("均布"), kPartial = QStringLiteral("局部均布"), kPoint = QStringLiteral("集中");
const QString kRight = QStringLiteral("→"), kLeft = QStringLiteral("←");

// A number typed in a field: digits with an optional sign and decimal
// point, nothing else ("6.0" is six). Nothing is guessed: a comma ("2,7"),
// a full-width digit ("６.６") or a unit ("6.6m") is refused with the
// reason, never read as 27, 66 or 6.6.
double numberOf(const QString& text)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const QString t = text.trimmed();
    const double v = c.toDouble(t, &ok);
    if (t.isEmpty()) throw Failure("未填写数值");
    if (!ok || !std::isfinite(v))
        throw Failure("不是数值: \"" + t.toStdString() + "\"; 请用小数点, 单位已在表头 (只填半角数字)");
    return v;
}

int wholeOf(const QString& text, int lo, int hi, const char* what)
{
    const double v = numberOf(text);
    if (v != std::floor(v) || v < lo || v > hi)
        throw Failure(std::string(what) + "应为 " + std::to_string(lo) + " 到 " + std::to_string(hi) + " 的整数");
    return static_cast<int>(v);
}

// The lists of the earthquake: intensity (first "无", no seismic design),
// with the texts the project keeps, site class and grade.
const QStringList kIntensityItems{QStringLiteral("无"),          QStringLiteral("6"),
                                  QStringLiteral("7"),           QStringLiteral("7.5 (0.15g)"),
                                  QStringLiteral("8"),           QStringLiteral("8.5 (0.30g)"),
                                  QStringLiteral("9")};
const std::vector<std::string> kIntensityValues{"", "6", "7", "7.5", "8", "8.5", "9"};
const QStringList kSiteItems{QStringLiteral("I0"), QStringLiteral("I1"), QStringLiteral("II"), QStringLiteral("III"),
                             QStringLiteral("IV")};
// The environment classes of GB 50010-2010 3.5.2 the design takes, with the
// texts the project keeps.
const QStringList kEnvironmentItems{QStringLiteral("一类"), QStringLiteral("二a"), QStringLiteral("二b")};
const std::vector<std::string> kEnvironmentValues{"1", "2a", "2b"};
const QStringList kGradeItems{QStringLiteral("自动 (表 6.1.2)"), QStringLiteral("1"), QStringLiteral("2"),
                              QStringLiteral("3"), QStringLiteral("4")};

const char* caseName(kj::LoadCaseKind k)
{
    switch (k) {
    case kj::LoadCaseKind::G: return "G 恒载";
    case kj::LoadCaseKind::Q: return "Q 活载";
    case kj::LoadCaseKind::W: return "W 风载 (左风)";
    case kj::LoadCaseKind::W2: return "W2 风载 (右风)";
    case kj::LoadCaseKind::E: return "E 地震作用";
    }
    return "";
}

// The reason of a failure of the project file's reading without the file
// name before it: "spans[1] 应大于 0 m, 实为 0".
QString reasonOf(const std::string& message)
{
    QString m = qs(message);
    if (m.startsWith(QStringLiteral("项目文件 "))) {
        const int at = m.indexOf(QStringLiteral(": "));
        if (at > 0) m = m.mid(at + 2);
    }
    return m;
}

// One field of a table: a number, a choice or a name, checked as it is typed.
class FieldDelegate : public QStyledItemDelegate {
public:
    FieldDelegate(QObject* parent, std::function<bool(const QModelIndex&, const QString&)> typed)
        : QStyledItemDelegate(parent), typed_(std::move(typed)) {}
    std::map<int, QStringList> choices; // by column

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (auto it = choices.find(index.column()); it != choices.end()) {
            auto* combo = new QComboBox(parent);
            combo->addItems(it->second);
            return combo;
        }
        QWidget* w = QStyledItemDelegate::createEditor(parent, option, index);
        // Every key typed is kept and the text checked as the project file
        // reads it: a comma or a unit is marked, never dropped.
        if (auto* line = qobject_cast<QLineEdit*>(w)) {
            QPersistentModelIndex at(index);
            QObject::connect(line, &QLineEdit::textEdited, line, [this, at, line](const QString& text) {
                line->setStyleSheet(typed_(at, text) ? QString() : QStringLiteral("background:#f8c8c8"));
            });
        }
        return w;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            combo->setCurrentText(index.data().toString());
            return;
        }
        QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* combo = qobject_cast<QComboBox*>(editor)) {
            model->setData(index, combo->currentText());
            return;
        }
        QStyledItemDelegate::setModelData(editor, model, index);
    }

private:
    std::function<bool(const QModelIndex&, const QString&)> typed_;
};

} // namespace

// One edit of the project: the project before and after it.
class ProjectCommand : public QUndoCommand {
public:
    ProjectCommand(EditorForm* form, kj::Project before, kj::Project after, const QString& text)
        : QUndoCommand(text), form_(form), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { form_->setProject(before_, true); }
    void redo() override
    {
        form_->setProject(after_, !first_);
        first_ = false;
    }

private:
    EditorForm* form_;
    kj::Project before_, after_;
    bool first_ = true;
};

EditorForm::EditorForm(QWidget* parent) : kjw::FormBase(parent)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("EditorForm"));
    setFont(kjw::songtiFont(9));

    chooseFile = [this](const QString& title, const QString& filter, bool save, const QString& suggested) {
        return save ? QFileDialog::getSaveFileName(this, title, suggested, filter)
                    : QFileDialog::getOpenFileName(this, title, suggested, filter);
    };
    ask = [this](const QString& question) {
        QMessageBox box(QMessageBox::Question, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, this);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("是"));
        box.button(QMessageBox::No)->setText(QStringLiteral("否"));
        return box.exec() == QMessageBox::Yes;
    };
    askUnsaved = [this](const QString& question) {
        QMessageBox box(QMessageBox::Warning, windowTitle(), question,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
        box.button(QMessageBox::Save)->setText(QStringLiteral("保存"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("不保存"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
        const int answer = box.exec();
        return answer == QMessageBox::Save ? 0 : answer == QMessageBox::Discard ? 1 : 2;
    };

    // The file and edit buttons along the top.
    auto* top = new QHBoxLayout;
    top->setSpacing(4);
    for (QPushButton* b :
         {tool(CommandNew, "CommandNew", QStringLiteral("新建"), QStringLiteral("新建一个一跨一层的框架 (Ctrl+N)"),
               &EditorForm::EditorForm_CommandNew_Click),
          tool(CommandOpen, "CommandOpen", QStringLiteral("打开"),
               QStringLiteral("打开项目文件 (*.kjpj), 或导入框架数据文件 (*.txt) (Ctrl+O)"),
               &EditorForm::EditorForm_CommandOpen_Click),
          tool(CommandRecent, "CommandRecent", QStringLiteral("最近文件"), QStringLiteral("最近打开或保存的项目文件"),
               nullptr),
          tool(CommandSave, "CommandSave", QStringLiteral("保存"),
               QStringLiteral("保存项目文件, 被替换的文件留作 .bak (Ctrl+S)"), &EditorForm::EditorForm_CommandSave_Click),
          tool(CommandSaveAs, "CommandSaveAs", QStringLiteral("另存为"), QStringLiteral("以新的文件名保存项目文件"),
               &EditorForm::EditorForm_CommandSaveAs_Click),
          tool(CommandExport, "CommandExport", QStringLiteral("导出数据文件"),
               QStringLiteral("把各工况写成框架数据文件 (NAME.txt, NAMEQ.txt, NAMEW.txt); 框架超出数据文件的容量时说明原因"),
               &EditorForm::EditorForm_CommandExport_Click),
          tool(CommandUndo, "CommandUndo", QStringLiteral("撤销"), QStringLiteral("撤销上一次修改 (Ctrl+Z)"), nullptr),
          tool(CommandRedo, "CommandRedo", QStringLiteral("重做"), QStringLiteral("重做撤销的修改 (Ctrl+Y)"), nullptr)})
        top->addWidget(b);
    top->addStretch(1);
    CheckJson = new QCheckBox(QStringLiteral("写 JSON"), this);
    CheckJson->setObjectName(QStringLiteral("CheckJson"));
    CheckJson->setToolTip(QStringLiteral("计算时另写出全部结果的 JSON 文件 (项目文件名.json)"));
    CheckPdf = new QCheckBox(QStringLiteral("写 PDF 计算书"), this);
    CheckPdf->setObjectName(QStringLiteral("CheckPdf"));
    CheckPdf->setToolTip(QStringLiteral("计算时另写出 A4 PDF 计算书 (项目文件名.pdf)"));
    top->addWidget(CheckJson);
    top->addWidget(CheckPdf);
    top->addWidget(tool(CommandCalc, "CommandCalc", QStringLiteral("计算"),
                        QStringLiteral("检查全部输入后计算, 写出计算书 (项目文件名-计算书.txt) 并打开计算书和框架图形窗口"),
                        &EditorForm::EditorForm_CommandCalc_Click));

    connect(CommandUndo, &QPushButton::clicked, this, &EditorForm::undoEdit);
    connect(CommandRedo, &QPushButton::clicked, &undo_, &QUndoStack::redo);
    connect(&undo_, &QUndoStack::canUndoChanged, this, [this] { CommandUndo->setEnabled(undo_.canUndo() || hasMarks()); });
    connect(&undo_, &QUndoStack::canRedoChanged, CommandRedo, &QPushButton::setEnabled);
    connect(&undo_, &QUndoStack::cleanChanged, this, [this] { refreshCaption(); });
    CommandUndo->setEnabled(false);
    CommandRedo->setEnabled(false);
    const auto shortcut = [this](const QList<QKeySequence>& keys, const std::function<void()>& run) {
        auto* a = new QAction(this);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        connect(a, &QAction::triggered, this, run);
        addAction(a);
    };
    shortcut({QKeySequence::Undo}, [this] { undoEdit(); });
    shortcut({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo}, [this] { undo_.redo(); });
    shortcut({QKeySequence::Save}, [this] { EditorForm_CommandSave_Click(); });
    shortcut({QKeySequence::Open}, [this] { EditorForm_CommandOpen_Click(); });
    shortcut({QKeySequence::New}, [this] { EditorForm_CommandNew_Click(); });

    auto* recent = new QMenu(CommandRecent);
    connect(recent, &QMenu::aboutToShow, this, [this, recent] {
        recent->clear();
        const QStringList files = recentFiles();
        if (files.isEmpty()) recent->addAction(QStringLiteral("(无)"))->setEnabled(false);
        for (const QString& f : files)
            recent->addAction(QDir::toNativeSeparators(f), this, [this, f] {
                if (maySwitch()) openFile(f);
            });
    });
    CommandRecent->setMenu(recent);

    // The tables at the left, the drawing at the right.
    Tabs = new QTabWidget(this);
    Tabs->setObjectName(QStringLiteral("Tabs"));
    const auto scrolled = [](QWidget* w) {
        auto* area = new QScrollArea;
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        area->setWidget(w);
        return area;
    };
    Tabs->addTab(scrolled(buildFrameTab()), QStringLiteral("框架"));
    Tabs->addTab(scrolled(buildLoadsTab()), QStringLiteral("荷载"));
    Tabs->addTab(scrolled(buildSettingsTab()), QStringLiteral("设置与组合"));

    auto* drawing = new QWidget(this);
    auto* dl = new QVBoxLayout(drawing);
    dl->setContentsMargins(0, 0, 0, 0);
    auto* layerRow = new QHBoxLayout;
    auto* layerLabel = new QLabel(QStringLiteral("图层"), drawing);
    ComboLayer = new QComboBox(drawing);
    ComboLayer->setObjectName(QStringLiteral("ComboLayer"));
    ComboLayer->addItems({kjd::layerTitle(kjd::Layer::Geometry), kjd::layerTitle(kjd::Layer::Loads)});
    ComboLayer->setCurrentIndex(1);
    ComboLayer->setToolTip(QStringLiteral("计算简图: 尺寸、截面和编号; 荷载: 所选工况的荷载"));
    layerRow->addWidget(layerLabel);
    layerRow->addWidget(ComboLayer);
    layerRow->addWidget(new QLabel(QStringLiteral("点击构件选中其所在行; Ctrl+点击多选"), drawing), 1);
    dl->addLayout(layerRow);
    View1 = new kjw::EditorView(drawing);
    dl->addWidget(View1, 1);
    connect(ComboLayer, &QComboBox::currentIndexChanged, this,
            [this](int i) { View1->setLayer(i == 0 ? kjd::Layer::Geometry : kjd::Layer::Loads); });
    connect(View1, &kjw::EditorView::memberClicked, this, &EditorForm::memberClicked);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("Splitter1"));
    split->addWidget(Tabs);
    split->addWidget(drawing);
    split->setStretchFactor(0, 5);
    split->setStretchFactor(1, 6);

    StatusLine = new QLabel(this);
    StatusLine->setObjectName(QStringLiteral("StatusLine"));
    StatusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    StatusLine->setMinimumHeight(StatusLine->fontMetrics().height() + 6);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(6, 6, 6, 4);
    main->addLayout(top);
    main->addWidget(split, 1);
    main->addWidget(StatusLine);

    kjw::resizeToFit(this, QSize(1280, 700));
    startProject(kj::newProject(), QString());
}

EditorForm::~EditorForm() = default;

QPushButton* EditorForm::tool(QPushButton*& member, const char* name, const QString& caption, const QString& tip,
                              void (EditorForm::*slot)())
{
    member = new QPushButton(caption, this);
    member->setObjectName(QLatin1String(name));
    member->setToolTip(tip);
    member->setAutoDefault(false);
    if (slot) connect(member, &QPushButton::clicked, this, slot);
    return member;
}

QTableWidget* EditorForm::table(const char* name, const QStringList& headers)
{
    auto* t = new QTableWidget(0, static_cast<int>(headers.size()), this);
    t->setObjectName(QLatin1String(name));
    t->setHorizontalHeaderLabels(headers);
    t->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    t->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                       QAbstractItemView::AnyKeyPressed);
    // As it is typed: the check the edit gets, without the edit.
    auto* d = new FieldDelegate(
        t, [this, t](const QModelIndex& at, const QString& text) { return cellEdit(t, at.row(), at.column(), text, false); });
    t->setItemDelegate(d);
    connect(t, &QTableWidget::itemChanged, this, [this, t](QTableWidgetItem* item) {
        if (!filling_) cellEdited(t, item->row(), item->column());
    });
    return t;
}

QLineEdit* EditorForm::box(const char* name, const QString& tip)
{
    auto* b = new QLineEdit(this);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(tip);
    connect(b, &QLineEdit::editingFinished, this, [this, b] {
        if (!filling_) boxEdited(b);
    });
    connect(b, &QLineEdit::textEdited, this, [this, b] {
        if (!filling_) boxTyped(b);
    });
    return b;
}

// ---- The tabs ---------------------------------------------------------------

QWidget* EditorForm::buildFrameTab()
{
    auto* page = new QWidget;
    auto* g = new QGridLayout(page);
    g->setContentsMargins(4, 4, 4, 4);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("框架名称"), page));
    TextName = box("TextName", QStringLiteral("框架的名称, 计算书和数据文件中使用"));
    nameRow->addWidget(TextName, 1);
    nameRow->addWidget(new QLabel(QStringLiteral("混凝土 C"), page));
    ComboConcrete = new QComboBox(page);
    ComboConcrete->setObjectName(QStringLiteral("ComboConcrete"));
    ComboConcrete->setEditable(true);
    ComboConcrete->addItems({QStringLiteral("20"), QStringLiteral("25"), QStringLiteral("30"), QStringLiteral("35"),
                             QStringLiteral("40"), QStringLiteral("45"), QStringLiteral("50")});
    ComboConcrete->setToolTip(QStringLiteral("混凝土强度等级的数字: 30 即 C30"));
    nameRow->addWidget(ComboConcrete);
    nameRow->addWidget(new QLabel(QStringLiteral("钢筋 Fy (N/mm²)"), page));
    ComboFy = new QComboBox(page);
    ComboFy->setObjectName(QStringLiteral("ComboFy"));
    ComboFy->setEditable(true);
    ComboFy->addItems({QStringLiteral("210"), QStringLiteral("270"), QStringLiteral("300"), QStringLiteral("360"),
                       QStringLiteral("435")});
    ComboFy->setToolTip(QStringLiteral("纵向钢筋强度设计值 fy, N/mm² (HPB300: 270, HRB400: 360)"));
    nameRow->addWidget(ComboFy);
    for (QComboBox* c : {ComboConcrete, ComboFy}) {
        connect(c->lineEdit(), &QLineEdit::editingFinished, this, [this, c] {
            if (!filling_) boxEdited(c);
        });
        connect(c->lineEdit(), &QLineEdit::textEdited, this, [this, c] {
            if (!filling_) boxTyped(c);
        });
        connect(c, &QComboBox::activated, this, [this, c] {
            if (!filling_) boxEdited(c);
        });
    }
    g->addLayout(nameRow, 0, 0, 1, 2);

    TableSpans = table("TableSpans", {QStringLiteral("跨度 (m)")});
    TableStoreys = table("TableStoreys", {QStringLiteral("层高 (m, 自底层)")});
    TableSections = table("TableSections", {QStringLiteral("截面名"), QStringLiteral("b (mm)"), QStringLiteral("h (mm)")});
    for (QTableWidget* t : {TableSpans, TableStoreys, TableSections}) t->setMinimumHeight(130);

    auto* spans = new QVBoxLayout;
    spans->addWidget(TableSpans);
    auto* spanButtons = new QHBoxLayout;
    spanButtons->addWidget(tool(CommandAddSpan, "CommandAddSpan", QStringLiteral("加一跨"),
                                QStringLiteral("在所选跨的右边加一跨, 照抄所选跨 (跨度、梁截面、荷载)"),
                                &EditorForm::EditorForm_CommandAddSpan_Click));
    spanButtons->addWidget(tool(CommandDeleteSpan, "CommandDeleteSpan", QStringLiteral("删除跨"),
                                QStringLiteral("删除所选的跨及其右侧柱列 (先询问)"),
                                &EditorForm::EditorForm_CommandDeleteSpan_Click));
    spans->addLayout(spanButtons);
    auto* storeys = new QVBoxLayout;
    storeys->addWidget(TableStoreys);
    auto* storeyButtons = new QHBoxLayout;
    storeyButtons->addWidget(tool(CommandAddStorey, "CommandAddStorey", QStringLiteral("加一层"),
                                  QStringLiteral("在所选层之上加一层, 照抄所选层 (层高、截面、梁上荷载)"),
                                  &EditorForm::EditorForm_CommandAddStorey_Click));
    storeyButtons->addWidget(tool(CommandDeleteStorey, "CommandDeleteStorey", QStringLiteral("删除层"),
                                  QStringLiteral("删除所选的层及其顶部楼层的荷载 (先询问)"),
                                  &EditorForm::EditorForm_CommandDeleteStorey_Click));
    storeys->addLayout(storeyButtons);
    auto* sections = new QVBoxLayout;
    sections->addWidget(TableSections);
    auto* sectionButtons = new QHBoxLayout;
    sectionButtons->addWidget(tool(CommandAddSection, "CommandAddSection", QStringLiteral("加截面"),
                                   QStringLiteral("增加一个截面, 照抄所选截面的尺寸"),
                                   &EditorForm::EditorForm_CommandAddSection_Click));
    sectionButtons->addWidget(tool(CommandDeleteSection, "CommandDeleteSection", QStringLiteral("删除截面"),
                                   QStringLiteral("删除所选的截面 (没有构件使用时)"),
                                   &EditorForm::EditorForm_CommandDeleteSection_Click));
    sections->addLayout(sectionButtons);
    auto* row = new QHBoxLayout;
    row->addLayout(spans, 2);
    row->addLayout(storeys, 2);
    row->addLayout(sections, 3);
    g->addLayout(row, 1, 0, 1, 2);

    auto* membersTitle = new QHBoxLayout;
    membersTitle->addWidget(new QLabel(QStringLiteral("构件截面 (自顶层向下; 选中构件后赋予截面)"), page), 1);
    ComboSection = new QComboBox(page);
    ComboSection->setObjectName(QStringLiteral("ComboSection"));
    ComboSection->setToolTip(QStringLiteral("要赋予所选构件的截面"));
    membersTitle->addWidget(ComboSection);
    membersTitle->addWidget(tool(CommandAssign, "CommandAssign", QStringLiteral("赋予截面"),
                                 QStringLiteral("把左边的截面赋予表中或图中选中的全部构件"),
                                 &EditorForm::EditorForm_CommandAssign_Click));
    g->addLayout(membersTitle, 2, 0, 1, 2);
    TableMembers = table("TableMembers", {});
    TableMembers->setSelectionMode(QAbstractItemView::ExtendedSelection);
    TableMembers->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    TableMembers->horizontalHeader()->setDefaultSectionSize(64);
    TableMembers->setMinimumHeight(150);
    connect(TableMembers, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!filling_) View1->setSelected(selectedMembers());
    });
    g->addWidget(TableMembers, 3, 0, 1, 2);
    g->setRowStretch(3, 1);
    return page;
}

QWidget* EditorForm::buildLoadsTab()
{
    auto* page = new QWidget;
    auto* v = new QVBoxLayout(page);
    v->setContentsMargins(4, 4, 4, 4);
    auto* caseRow = new QHBoxLayout;
    caseRow->addWidget(new QLabel(QStringLiteral("工况"), page));
    ComboCase = new QComboBox(page);
    ComboCase->setObjectName(QStringLiteral("ComboCase"));
    for (kj::LoadCaseKind k : kj::kLoadCaseKinds) ComboCase->addItem(QString::fromUtf8(caseName(k)));
    ComboCase->setToolTip(QStringLiteral("表中和图中的荷载所属的工况; 恒载 G 另计柱自重 (及勾选时的梁自重)"));
    caseRow->addWidget(ComboCase);
    caseRow->addStretch(1);
    v->addLayout(caseRow);
    connect(ComboCase, &QComboBox::currentIndexChanged, this, [this] {
        // The rows of the load tables are the other case's now: a value typed
        // there and still marked belongs to no row of this case.
        const auto before = marks_.size();
        std::erase_if(marks_, [this](const auto& m) {
            QWidget* w = std::get<0>(m.first);
            return w == TableLoads || w == TableJoints || w == TableFloors;
        });
        refresh();
        if (marks_.size() != before)
            showStatus(QStringLiteral("切换工况, 放弃了 %1 处未改正的荷载输入").arg(before - marks_.size()), true);
    });

    v->addWidget(new QLabel(QStringLiteral("梁上荷载 (向下为正; 位置自梁左端量起)"), page));
    TableLoads = table("TableLoads", {QStringLiteral("层"), QStringLiteral("跨"), QStringLiteral("类型"),
                                      QStringLiteral("荷载值"), QStringLiteral("单位"), QStringLiteral("x 或起点 (m)"),
                                      QStringLiteral("终点 (m)")});
    auto* d = static_cast<FieldDelegate*>(TableLoads->itemDelegate());
    d->choices[2] = {kUniform, kPartial, kPoint};
    TableLoads->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableLoads->setMinimumHeight(170);
    v->addWidget(TableLoads, 2);
    auto* loadButtons = new QHBoxLayout;
    loadButtons->addWidget(tool(CommandAddLoad, "CommandAddLoad", QStringLiteral("加荷载"),
                                QStringLiteral("给选中的每根梁 (表中或图中) 加一个荷载: 荷载表中选中的行照抄给每根梁, 未选行时为满跨均布荷载"),
                                &EditorForm::EditorForm_CommandAddLoad_Click));
    loadButtons->addWidget(tool(CommandDeleteLoad, "CommandDeleteLoad", QStringLiteral("删除荷载"),
                                QStringLiteral("删除所选的荷载行"), &EditorForm::EditorForm_CommandDeleteLoad_Click));
    loadButtons->addStretch(1);
    v->addLayout(loadButtons);

    auto* lower = new QHBoxLayout;
    auto* joints = new QVBoxLayout;
    joints->addWidget(new QLabel(QStringLiteral("节点荷载 (层自底层起, 轴线自左起)"), page));
    TableJoints = table("TableJoints", {QStringLiteral("层"), QStringLiteral("轴线"), QStringLiteral("P (kN, 向下)"),
                                        QStringLiteral("M (kN·m, 逆时针)")});
    TableJoints->setMinimumHeight(120);
    joints->addWidget(TableJoints);
    auto* jb = new QHBoxLayout;
    jb->addWidget(tool(CommandAddJoint, "CommandAddJoint", QStringLiteral("加节点荷载"),
                       QStringLiteral("在顶层左端节点加一行节点荷载"), &EditorForm::EditorForm_CommandAddJoint_Click));
    jb->addWidget(tool(CommandDeleteJoint, "CommandDeleteJoint", QStringLiteral("删除"),
                       QStringLiteral("删除所选的节点荷载行"), &EditorForm::EditorForm_CommandDeleteJoint_Click));
    joints->addLayout(jb);
    auto* floors = new QVBoxLayout;
    floors->addWidget(new QLabel(QStringLiteral("楼层水平力 (作用在楼层标高处)"), page));
    TableFloors = table("TableFloors", {QStringLiteral("层"), QStringLiteral("H (kN)"), QStringLiteral("方向")});
    auto* fd = static_cast<FieldDelegate*>(TableFloors->itemDelegate());
    fd->choices[2] = {kRight, kLeft};
    TableFloors->setMinimumHeight(120);
    floors->addWidget(TableFloors);
    auto* fb = new QHBoxLayout;
    fb->addWidget(tool(CommandAddFloor, "CommandAddFloor", QStringLiteral("加水平力"),
                       QStringLiteral("在顶层加一行向右的楼层水平力"), &EditorForm::EditorForm_CommandAddFloor_Click));
    fb->addWidget(tool(CommandDeleteFloor, "CommandDeleteFloor", QStringLiteral("删除"),
                       QStringLiteral("删除所选的楼层水平力行"), &EditorForm::EditorForm_CommandDeleteFloor_Click));
    floors->addLayout(fb);
    lower->addLayout(joints, 4);
    lower->addLayout(floors, 3);
    v->addLayout(lower, 1);
    return page;
}

QWidget* EditorForm::buildSettingsTab()
{
    auto* page = new QWidget;
    auto* h = new QHBoxLayout(page);
    h->setContentsMargins(4, 4, 4, 4);
    auto* design = new QGroupBox(QStringLiteral("配筋设置"), page);
    auto* f = new QFormLayout(design);
    const auto choice = [this, design](QComboBox*& c, const char* name, const QStringList& items, const QString& tip) {
        c = new QComboBox(design);
        c->setObjectName(QLatin1String(name));
        c->addItems(items);
        c->setToolTip(tip);
        connect(c, &QComboBox::activated, this, [this, c] {
            if (!filling_) boxEdited(c);
        });
        return c;
    };
    const auto number = [this](QLineEdit*& b, const char* name, const QString& tip) { return b = box(name, tip); };
    f->addRow(QStringLiteral("设计规范"), choice(ComboCode, "ComboCode", {QStringLiteral("原方法"), QStringLiteral("GB50010-2010")},
                                             QStringLiteral("配筋计算依据的方法")));
    f->addRow(QStringLiteral("箍筋 fyv (N/mm²)"),
              choice(ComboFyv, "ComboFyv", {QStringLiteral("270"), QStringLiteral("360")},
                     QStringLiteral("GB50010-2010 的箍筋强度设计值; 原方法不用")));
    f->addRow(QStringLiteral("楼板"), choice(ComboFloors, "ComboFloors", {QStringLiteral("现浇"), QStringLiteral("装配")},
                                           QStringLiteral("现浇或装配式楼盖 (GB50010-2010)")));
    f->addRow(QStringLiteral("环境类别"),
              choice(ComboEnvironment, "ComboEnvironment", kEnvironmentItems,
                     QStringLiteral("GB50010-2010 第 3.5.2 条的环境类别, 定出第 8.2.1 条的最小保护层; 原方法不用")));
    f->addRow(QStringLiteral("主筋保护层 (mm)"), number(TextCover, "TextCover", QStringLiteral("主筋保护层厚度, mm")));
    f->addRow(QStringLiteral("支座负弯矩调幅系数 β"),
              number(TextBeta, "TextBeta", QStringLiteral("梁支座负弯矩的调幅系数, 0 < β ≤ 1")));
    auto pair = [&](QLineEdit*& a, const char* an, QLineEdit*& b, const char* bn, const QString& tip) {
        auto* w = new QWidget(design);
        auto* l = new QHBoxLayout(w);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(number(a, an, tip + QStringLiteral(": 根数 (肢数)")));
        l->addWidget(number(b, bn, tip + QStringLiteral(": 直径 mm, zd 为程序选定")));
        return w;
    };
    f->addRow(QStringLiteral("梁顶通长筋 根数 直径"),
              pair(TextTopCount, "TextTopCount", TextTopDiameter, "TextTopDiameter", QStringLiteral("梁顶通长筋")));
    f->addRow(QStringLiteral("梁底通长筋 根数 直径"), pair(TextBottomCount, "TextBottomCount", TextBottomDiameter,
                                                         "TextBottomDiameter", QStringLiteral("梁底通长筋")));
    f->addRow(QStringLiteral("箍筋 肢数 直径"), pair(TextStirrupLegs, "TextStirrupLegs", TextStirrupDiameter,
                                                   "TextStirrupDiameter", QStringLiteral("自选箍筋")));
    CheckSelfWeight = new QCheckBox(QStringLiteral("恒载计入梁自重 (25 kN/m³)"), design);
    CheckSelfWeight->setObjectName(QStringLiteral("CheckSelfWeight"));
    CheckSelfWeight->setToolTip(QStringLiteral("恒载 G 中加上梁自重 25 kN/m³ × b × h"));
    connect(CheckSelfWeight, &QCheckBox::clicked, this, [this] {
        if (!filling_) boxEdited(CheckSelfWeight);
    });
    f->addRow(CheckSelfWeight);
    f->addRow(QStringLiteral("梁刚度放大系数"),
              number(TextStiffness, "TextStiffness", QStringLiteral("梁的 EI 乘以此系数 (考虑楼板翼缘), 默认 1.0")));
    f->addRow(new QLabel(QStringLiteral("计算书标题栏"), design));
    f->addRow(QStringLiteral("工程名称"), TextTitleProject = box("TextTitleProject", QStringLiteral("计算书标题栏: 工程名称")));
    f->addRow(QStringLiteral("设计"), TextTitleDesigner = box("TextTitleDesigner", QStringLiteral("计算书标题栏: 设计人")));
    f->addRow(QStringLiteral("校对"), TextTitleChecker = box("TextTitleChecker", QStringLiteral("计算书标题栏: 校对人")));
    f->addRow(QStringLiteral("日期"), TextTitleDate = box("TextTitleDate", QStringLiteral("计算书标题栏: 日期")));
    h->addWidget(design, 1);

    auto* combos = new QGroupBox(QStringLiteral("荷载组合"), page);
    auto* cv = new QVBoxLayout(combos);
    ComboCombinationSet = new QComboBox(combos);
    ComboCombinationSet->setObjectName(QStringLiteral("ComboCombinationSet"));
    ComboCombinationSet->addItems({QStringLiteral("不组合 (只有恒载 G)"), QStringLiteral("GB55001"),
                                   QStringLiteral("GB50009"), QStringLiteral("自定义")});
    ComboCombinationSet->setToolTip(QStringLiteral("内置的组合表, 或自己列出的组合 (系数×工况, 右风写 -W)"));
    connect(ComboCombinationSet, &QComboBox::activated, this, [this] {
        if (!filling_) boxEdited(ComboCombinationSet);
    });
    cv->addWidget(ComboCombinationSet);
    TableCombinations = table("TableCombinations", {QStringLiteral("组合")});
    cv->addWidget(TableCombinations, 1);
    auto* cb = new QHBoxLayout;
    cb->addWidget(tool(CommandAddCombination, "CommandAddCombination", QStringLiteral("加一行"),
                       QStringLiteral("自定义组合: 增加一行"), &EditorForm::EditorForm_CommandAddCombination_Click));
    cb->addWidget(tool(CommandDeleteCombination, "CommandDeleteCombination", QStringLiteral("删除一行"),
                       QStringLiteral("自定义组合: 删除所选的行"), &EditorForm::EditorForm_CommandDeleteCombination_Click));
    cv->addLayout(cb);
    // The live load: its layouts and the factors of a built-in set.
    auto* live = new QHBoxLayout;
    CheckPatterns = new QCheckBox(QStringLiteral("活载不利布置"), combos);
    CheckPatterns->setObjectName(QStringLiteral("CheckPatterns"));
    CheckPatterns->setToolTip(QStringLiteral("活载按跨布置: 每个设计值取使之最大的布置代替 Q 参与组合"));
    connect(CheckPatterns, &QCheckBox::clicked, this, [this] {
        if (!filling_) boxEdited(CheckPatterns);
    });
    cv->addWidget(CheckPatterns);
    live->addWidget(new QLabel(QStringLiteral("γL"), combos));
    live->addWidget(choice(ComboGammaL, "ComboGammaL", {QStringLiteral("1.0"), QStringLiteral("1.1")},
                           QStringLiteral("活载的设计使用年限调整系数 γL: 50 年 1.0, 100 年 1.1 (只用于内置组合)")));
    live->addWidget(new QLabel(QStringLiteral("ψc"), combos));
    live->addWidget(choice(ComboPsiC, "ComboPsiC", {QStringLiteral("0.7"), QStringLiteral("0.9")},
                           QStringLiteral("活载的组合值系数 ψc: 一般 0.7, 书库、档案库、储藏室等 0.9 (只用于内置组合)")));
    live->addStretch(1);
    cv->addLayout(live);
    auto* right = new QVBoxLayout;
    right->addWidget(combos, 1);

    // The earthquake: the project's seismic texts.
    auto* seismic = new QGroupBox(QStringLiteral("地震作用"), page);
    auto* sf = new QFormLayout(seismic);
    const auto seismicChoice = choice;
    sf->addRow(QStringLiteral("设防烈度"),
               seismicChoice(ComboSeismic, "ComboSeismic", kIntensityItems,
                             QStringLiteral("抗震设防烈度; \"无\" 为不作抗震设计 (抗震设计只用于 GB50010-2010)")));
    sf->addRow(QStringLiteral("场地类别"),
               seismicChoice(ComboSite, "ComboSite", kSiteItems, QStringLiteral("建筑场地类别 (GB 50011 表 5.1.4-2)")));
    ComboSite->setCurrentIndex(2); // II, until the project says otherwise
    sf->addRow(QStringLiteral("设计地震分组"),
               seismicChoice(ComboGroup, "ComboGroup", {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")},
                             QStringLiteral("设计地震分组 第一、二、三组")));
    sf->addRow(QStringLiteral("抗震等级"),
               seismicChoice(ComboSeismicGrade, "ComboSeismicGrade", kGradeItems,
                             QStringLiteral("框架的抗震等级: 自动按高度和烈度 (GB 50011 表 6.1.2), 或指定一至四级")));
    sf->addRow(QStringLiteral("周期折减系数 ψT"),
               number(TextPeriodFactor, "TextPeriodFactor", QStringLiteral("考虑填充墙的周期折减系数, 0 < ψT ≤ 1, 默认 0.7")));
    CheckCornerColumns = new QCheckBox(QStringLiteral("两端柱为角柱"), seismic);
    CheckCornerColumns->setObjectName(QStringLiteral("CheckCornerColumns"));
    CheckCornerColumns->setToolTip(QStringLiteral("边榀框架: 最左、最右两列柱是房屋的角柱, 按角柱设计 (调整后的弯矩、剪力×1.10, "
                                                  "角柱最小配筋率, 一、二级沿全高加密箍筋); 不选则各柱按中柱、边柱"));
    connect(CheckCornerColumns, &QCheckBox::clicked, this, [this] {
        if (!filling_) boxEdited(CheckCornerColumns);
    });
    sf->addRow(CheckCornerColumns);
    right->addWidget(seismic);
    h->addLayout(right, 1);
    return page;
}

// ---- Edits --------------------------------------------------------------------

bool EditorForm::commit(const Key& field, const QString& what, const Edit& edit, QWidget* reshapes)
{
    // A change of the frame's shape moves every row: typed values still
    // marked would land on other members, so they are mended first.
    if (reshapes == this && hasMarks()) {
        showStatus(QStringLiteral("请先改正标出的 %1 处输入: %2").arg(marks_.size()).arg(firstMark()), true);
        return false;
    }
    kj::Project next;
    try {
        kj::Project copy = project_;
        edit(copy);
        // The one check of a project: written as its file, read back and its
        // values checked as the calculation checks them.
        next = kj::checkedProject(copy);
    } catch (const std::exception& e) {
        const QString reason = what + QStringLiteral(": ") + reasonOf(kj::failureText(e));
        if (std::get<0>(field)) mark(field, reason);
        else showStatus(reason, true);
        return false;
    }
    unmark(field);
    // The rows of a table that gains or loses rows hold other values after it.
    if (reshapes) std::erase_if(marks_, [&](const auto& m) { return std::get<0>(m.first) == reshapes; });
    if (kj::projectJson(next) == kj::projectJson(project_)) {
        refresh();
        showStatus(marks_.empty() ? QString() : firstMark(), !marks_.empty());
        return true;
    }
    undo_.push(new ProjectCommand(this, project_, next, what));
    showStatus(marks_.empty() ? QStringLiteral("已修改: ") + what : firstMark(), !marks_.empty());
    return true;
}

void EditorForm::undoEdit()
{
    // Values typed and refused are taken back first: the cells show the project again.
    if (hasMarks()) {
        marks_.clear();
        refresh();
        showStatus(QStringLiteral("已撤回标出的输入"), false);
        return;
    }
    undo_.undo();
}

void EditorForm::mark(const Key& field, const QString& reason)
{
    marks_[field] = reason;
    CommandUndo->setEnabled(true);
    auto [w, row, column] = field;
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
        if (QTableWidgetItem* item = t->item(row, column)) {
            const bool was = filling_;
            filling_ = true;
            item->setBackground(QColor(248, 200, 200));
            item->setToolTip(reason);
            filling_ = was;
        }
    } else if (w) {
        w->setStyleSheet(QStringLiteral("background:#f8c8c8"));
        w->setProperty("reason", reason);
    }
    showStatus(reason, true);
}

void EditorForm::unmark(const Key& field)
{
    marks_.erase(field);
    auto [w, row, column] = field;
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
        if (QTableWidgetItem* item = t->item(row, column)) {
            const bool was = filling_;
            filling_ = true;
            item->setBackground(QBrush());
            item->setToolTip(QString());
            filling_ = was;
        }
    } else if (w) {
        w->setStyleSheet(QString());
    }
}

QString EditorForm::firstMark() const { return marks_.empty() ? QString() : marks_.begin()->second; }

bool EditorForm::isMarked(QWidget* field, int row, int column) const
{
    return marks_.count(Key{field, row, column}) > 0;
}

void EditorForm::showStatus(const QString& text, bool bad)
{
    StatusLine->setText(text);
    StatusLine->setStyleSheet(bad ? QStringLiteral("color:#b00000") : QString());
}

void EditorForm::cellEdited(QTableWidget* t, int row, int column)
{
    cellEdit(t, row, column, t->item(row, column) ? t->item(row, column)->text() : QString(), true);
}

bool EditorForm::check(const QString& what, const Edit& edit)
{
    try {
        kj::Project copy = project_;
        edit(copy);
        kj::checkedProject(copy);
    } catch (const std::exception& e) {
        showStatus(what + QStringLiteral(": ") + reasonOf(kj::failureText(e)), true);
        return false;
    }
    showStatus(what + QStringLiteral(": 可以"), false);
    return true;
}

bool EditorForm::cellEdit(QTableWidget* t, int row, int column, const QString& text, bool apply)
{
    const Key key{t, row, column};
    const auto commit = [&](const Key& k, const QString& what, const Edit& edit, QWidget* reshapes = nullptr) {
        return apply ? this->commit(k, what, edit, reshapes) : check(what, edit);
    };
    const kj::LoadCaseKind kind = shownCase();
    const QString caseTag = QStringLiteral("工况 %1 ").arg(QString::fromLatin1(kj::caseLetter(kind)));
    if (t == TableSpans) {
        return commit(key, QStringLiteral("第 %1 跨的跨度").arg(row + 1),
               [&](kj::Project& p) { p.spans.at(ix(row)) = numberOf(text); });
    } else if (t == TableStoreys) {
        return commit(key, QStringLiteral("第 %1 层的层高").arg(row + 1),
               [&](kj::Project& p) { p.storeys.at(ix(row)) = numberOf(text); });
    } else if (t == TableSections) {
        // A width under 51 mm is taken: the members of the section are analysed and not designed.
        const QString what = QStringLiteral("截面表第 %1 行").arg(row + 1);
        const bool ok = commit(key, what, [&](kj::Project& p) {
            kj::ProjectSection& s = p.sections.at(ix(row));
            if (column == 0) {
                const std::string name = text.trimmed().toStdString();
                if (name.empty()) throw Failure("截面名不能为空");
                for (const kj::ProjectSection& o : p.sections)
                    if (&o != &s && o.name == name) throw Failure("截面名 " + name + " 已有");
                for (auto* list : {&p.beams, &p.columns})
                    for (auto& r : *list)
                        for (std::string& n : r)
                            if (n == s.name) n = name;
                s.name = name;
            } else {
                (column == 1 ? s.b : s.h) = numberOf(text);
            }
        });
        if (ok && column == 1 && numberOf(text) < kj::kNarrowestSection)
            showStatus(what + QStringLiteral(": 宽度小于 51 mm, 用此截面的构件只计算内力, 不配筋"), false);
        return ok;
    } else if (t == TableMembers) {
        const int s = project_.NF() - 1 - row;
        return commit(key, QStringLiteral("第 %1 层的%2").arg(s + 1).arg(column % 2 ? QStringLiteral("第 %1 跨梁").arg(column / 2 + 1)
                                                                           : QStringLiteral("%1 轴柱").arg(column / 2 + 1)),
               [&](kj::Project& p) {
                   const std::string name = text.trimmed().toStdString();
                   if (column % 2) p.beams.at(ix(s)).at(ix(column / 2)) = name;
                   else if (!p.columns.empty()) p.columns.at(ix(s)).at(ix(column / 2)) = name;
               });
    } else if (t == TableLoads) {
        if (row >= static_cast<int>(loadRows_.size())) return true;
        const auto [s, k, n] = loadRows_[ix(row)];
        return commit(key, caseTag + QStringLiteral("第 %1 层第 %2 跨的荷载").arg(s + 1).arg(k + 1),
               [&, s = s, k = k, n = n](kj::Project& p) {
                   auto& list = kj::caseOf(p, kind).beamLoads.at(ix(s)).at(ix(k));
                   kj::BeamLoad& l = list.at(ix(n));
                   const double S = p.spans.at(ix(k));
                   if (column == 0 || column == 1) {
                       const int to = column == 0 ? wholeOf(text, 1, p.NF(), "层") : wholeOf(text, 1, p.L(), "跨");
                       const kj::BeamLoad moved = l;
                       list.erase(list.begin() + n);
                       kj::caseOf(p, kind)
                           .beamLoads.at(ix(column == 0 ? to - 1 : s))
                           .at(ix(column == 1 ? to - 1 : k))
                           .push_back(moved);
                   } else if (column == 2) {
                       const QString kindText = text.trimmed();
                       if (kindText == kUniform) l.kind = kj::BeamLoad::Kind::Uniform;
                       else if (kindText == kPartial) {
                           if (l.kind != kj::BeamLoad::Kind::Partial) l.from = 0, l.to = S;
                           l.kind = kj::BeamLoad::Kind::Partial;
                       } else if (kindText == kPoint) {
                           if (l.kind != kj::BeamLoad::Kind::Point) l.x = S / 2;
                           l.kind = kj::BeamLoad::Kind::Point;
                       } else
                           throw Failure("类型应为 均布、局部均布 或 集中");
                   } else if (column == 3) {
                       l.value = numberOf(text);
                   } else if (column == 5) {
                       (l.kind == kj::BeamLoad::Kind::Point ? l.x : l.from) = numberOf(text);
                   } else if (column == 6) {
                       l.to = numberOf(text);
                   }
               },
               column <= 1 ? static_cast<QWidget*>(TableLoads) : nullptr);
    } else if (t == TableJoints) {
        return commit(key, caseTag + QStringLiteral("节点荷载第 %1 行").arg(row + 1), [&](kj::Project& p) {
            kj::JointLoad& j = kj::caseOf(p, kind).jointLoads.at(ix(row));
            if (column == 0) j.level = wholeOf(text, -1000000, 1000000, "层");
            else if (column == 1) j.line = wholeOf(text, -1000000, 1000000, "轴线");
            else (column == 2 ? j.P : j.M) = numberOf(text);
        });
    } else if (t == TableFloors) {
        return commit(key, caseTag + QStringLiteral("楼层水平力第 %1 行").arg(row + 1), [&](kj::Project& p) {
            kj::FloorForce& f = kj::caseOf(p, kind).floorForces.at(ix(row));
            if (column == 0) f.level = wholeOf(text, -1000000, 1000000, "层");
            else if (column == 1) {
                const double H = numberOf(text);
                if (H < 0) throw Failure("H 应不小于 0; 方向在下一栏选 → 或 ←");
                f.H = f.H < 0 ? -H : H;
            } else {
                const QString d = text.trimmed();
                if (d != kRight && d != kLeft) throw Failure("方向应为 → 或 ←");
                f.H = (d == kLeft ? -1 : 1) * std::fabs(f.H);
            }
        });
    } else if (t == TableCombinations) {
        return commit(key, QStringLiteral("组合第 %1 行").arg(row + 1), [&](kj::Project& p) {
            p.combinations.at(ix(row)) = text.trimmed().toStdString();
            p.combinationSet.reset();
        });
    }
    return true;
}

void EditorForm::boxTyped(QWidget* w)
{
    w->setStyleSheet(boxEdited(w, false) ? QString() : QStringLiteral("background:#f8c8c8"));
}

bool EditorForm::boxEdited(QWidget* w, bool apply)
{
    const Key key{w, -1, -1};
    // Applied (a command or a mark), or only checked as it is typed.
    const auto commit = [&](const Key& k, const QString& what, const Edit& edit) {
        return apply ? this->commit(k, what, edit) : check(what, edit);
    };
    const QString text = qobject_cast<QLineEdit*>(w)   ? static_cast<QLineEdit*>(w)->text()
                         : qobject_cast<QComboBox*>(w) ? static_cast<QComboBox*>(w)->currentText()
                                                       : QString();
    const std::string t = text.trimmed().toStdString();
    bool ok = true;
    const auto design = [&](const QString& what, std::string kj::DesignSettings::*field, bool strictNumber) {
        ok = commit(key, what, [&](kj::Project& p) {
            if (strictNumber) numberOf(text);
            p.design.*field = t;
        });
    };
    if (w == TextName) ok = commit(key, QStringLiteral("框架名称"), [&](kj::Project& p) { p.name = t; });
    else if (w == ComboConcrete)
        ok = commit(key, QStringLiteral("混凝土强度等级"), [&](kj::Project& p) { p.materials.C = numberOf(text); });
    else if (w == ComboFy)
        ok = commit(key, QStringLiteral("钢筋 Fy"), [&](kj::Project& p) { p.materials.Fy = numberOf(text); });
    else if (w == ComboCode) design(QStringLiteral("设计规范"), &kj::DesignSettings::code, false);
    else if (w == ComboFyv) design(QStringLiteral("箍筋 fyv"), &kj::DesignSettings::fyv, false);
    else if (w == ComboFloors) design(QStringLiteral("楼板"), &kj::DesignSettings::floors, false);
    else if (w == ComboEnvironment)
        ok = commit(key, QStringLiteral("环境类别"), [&](kj::Project& p) {
            p.design.environment = kEnvironmentValues.at(ix(std::max(0, ComboEnvironment->currentIndex())));
        });
    else if (w == TextCover) design(QStringLiteral("主筋保护层"), &kj::DesignSettings::cover, true);
    else if (w == TextBeta) design(QStringLiteral("调幅系数 β"), &kj::DesignSettings::beta, true);
    else if (w == TextTopCount) design(QStringLiteral("梁顶通长筋根数"), &kj::DesignSettings::topCount, t != "zd");
    else if (w == TextTopDiameter) design(QStringLiteral("梁顶通长筋直径"), &kj::DesignSettings::topDiameter, t != "zd");
    else if (w == TextBottomCount) design(QStringLiteral("梁底通长筋根数"), &kj::DesignSettings::bottomCount, t != "zd");
    else if (w == TextBottomDiameter)
        design(QStringLiteral("梁底通长筋直径"), &kj::DesignSettings::bottomDiameter, t != "zd");
    else if (w == TextStirrupLegs) design(QStringLiteral("箍筋肢数"), &kj::DesignSettings::stirrupLegs, t != "zd");
    else if (w == TextStirrupDiameter)
        design(QStringLiteral("箍筋直径"), &kj::DesignSettings::stirrupDiameter, t != "zd");
    else if (w == CheckSelfWeight)
        ok = commit(key, QStringLiteral("梁自重"),
                    [&](kj::Project& p) { p.beamSelfWeight = CheckSelfWeight->isChecked(); });
    else if (w == TextStiffness)
        ok = commit(key, QStringLiteral("梁刚度放大系数"),
                    [&](kj::Project& p) { p.beamStiffnessFactor = numberOf(text); });
    else if (w == TextTitleProject)
        ok = commit(key, QStringLiteral("工程名称"), [&](kj::Project& p) { p.title.project = t; });
    else if (w == TextTitleDesigner) ok = commit(key, QStringLiteral("设计"), [&](kj::Project& p) { p.title.designer = t; });
    else if (w == TextTitleChecker) ok = commit(key, QStringLiteral("校对"), [&](kj::Project& p) { p.title.checker = t; });
    else if (w == TextTitleDate) ok = commit(key, QStringLiteral("日期"), [&](kj::Project& p) { p.title.date = t; });
    else if (w == ComboSeismic) {
        const int at = ComboSeismic->currentIndex();
        ok = commit(key, QStringLiteral("设防烈度"), [&](kj::Project& p) {
            if (at <= 0) {
                p.seismic = {}; // no seismic design
                return;
            }
            p.seismic.intensity = kIntensityValues[ix(at)];
            // The first choice of a job: the site and the group as the lists show them.
            if (p.seismic.site.empty()) p.seismic.site = ComboSite->currentText().toStdString();
            if (p.seismic.group.empty()) p.seismic.group = ComboGroup->currentText().toStdString();
        });
    } else if (w == ComboSite)
        ok = commit(key, QStringLiteral("场地类别"), [&](kj::Project& p) { p.seismic.site = t; });
    else if (w == ComboGroup)
        ok = commit(key, QStringLiteral("设计地震分组"), [&](kj::Project& p) { p.seismic.group = t; });
    else if (w == ComboSeismicGrade) {
        const int at = ComboSeismicGrade->currentIndex();
        ok = commit(key, QStringLiteral("抗震等级"),
                    [&](kj::Project& p) { p.seismic.grade = at <= 0 ? std::string() : std::to_string(at); });
    } else if (w == TextPeriodFactor)
        ok = commit(key, QStringLiteral("周期折减系数 ψT"), [&](kj::Project& p) {
            numberOf(text);
            p.seismic.psiT = t;
        });
    else if (w == CheckPatterns)
        ok = commit(key, QStringLiteral("活载不利布置"),
                    [&](kj::Project& p) { p.liveLoadPatterns = CheckPatterns->isChecked(); });
    else if (w == ComboGammaL)
        ok = commit(key, QStringLiteral("γL"),
                    [&](kj::Project& p) { p.gammaL = ComboGammaL->currentIndex() == 1 ? 1.1 : 1.0; });
    else if (w == ComboPsiC)
        ok = commit(key, QStringLiteral("ψc"),
                    [&](kj::Project& p) { p.psiC = ComboPsiC->currentIndex() == 1 ? 0.9 : 0.7; });
    else if (w == CheckCornerColumns)
        ok = commit(key, QStringLiteral("两端柱为角柱"),
                    [&](kj::Project& p) { p.seismic.cornerColumns = CheckCornerColumns->isChecked(); });
    else if (w == ComboCombinationSet) {
        const int at = ComboCombinationSet->currentIndex();
        ok = commit(key, QStringLiteral("荷载组合"), [&](kj::Project& p) {
            if (at == 0) {
                p.combinationSet.reset();
                p.combinations.clear();
            } else if (at == 3) {
                if (p.combinations.empty()) {
                    const std::string set = p.combinationSet.value_or("GB55001");
                    kj::GivenCases given{};
                    for (const kj::ProjectCase& c : p.cases) given[ix(static_cast<int>(c.kind))] = true;
                    // The rows as the set gave them, γL and ψc written into the factors.
                    for (const kj::Combination& c :
                         kj::combinationsFor(kj::combinationSet(set), given, {p.gammaL, p.psiC}))
                        p.combinations.push_back(c.name);
                    if (p.combinations.empty()) p.combinations.push_back("1.0G");
                }
                p.combinationSet.reset();
                p.gammaL = 1.0;
                p.psiC = 0.7;
            } else {
                p.combinations.clear();
                p.combinationSet = ComboCombinationSet->currentText().toStdString();
            }
        });
    }
    return ok;
}

// ---- The views of the project ---------------------------------------------------

void EditorForm::setProject(const kj::Project& p, bool clearMarks)
{
    project_ = p;
    if (clearMarks) {
        marks_.clear();
        showStatus(QString(), false);
    }
    refresh();
}

kj::LoadCaseKind EditorForm::shownCase() const
{
    return kj::kLoadCaseKinds[ix(std::clamp(ComboCase->currentIndex(), 0, static_cast<int>(kj::kLoadCaseKinds.size()) - 1))];
}

void EditorForm::refresh()
{
    const bool was = filling_;
    filling_ = true;
    const kj::Project& p = project_;
    const auto fill = [this](QTableWidget* t, int rows, int columns,
                             const std::function<QString(int, int)>& text,
                             const std::function<bool(int, int)>& editable = {}) {
        t->setRowCount(rows);
        if (columns >= 0) t->setColumnCount(columns);
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < t->columnCount(); ++c) {
                QTableWidgetItem* item = t->item(r, c);
                if (!item) t->setItem(r, c, item = new QTableWidgetItem);
                const bool marked = marks_.count(Key{t, r, c}) > 0;
                if (!marked) {
                    item->setText(text(r, c));
                    item->setBackground(QBrush());
                    item->setToolTip(QString());
                }
                const bool canEdit = !editable || editable(r, c);
                item->setFlags(canEdit ? (Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable)
                                       : (Qt::ItemIsSelectable | Qt::ItemIsEnabled));
                if (!canEdit && !marked) item->setBackground(QColor(238, 238, 238));
            }
    };
    // Marks on rows that are gone go with them.
    std::erase_if(marks_, [](const auto& m) {
        auto [w, r, c] = m.first;
        auto* t = qobject_cast<QTableWidget*>(w);
        return t && (r >= t->rowCount() || c >= t->columnCount());
    });

    fill(TableSpans, p.L(), 1, [&](int r, int) { return num(p.spans[ix(r)]); });
    fill(TableStoreys, p.NF(), 1, [&](int r, int) { return num(p.storeys[ix(r)]); });
    QStringList rows;
    for (int i = 0; i < p.L(); ++i) rows << QStringLiteral("第%1跨").arg(i + 1);
    TableSpans->setVerticalHeaderLabels(rows);
    rows.clear();
    for (int i = 0; i < p.NF(); ++i) rows << QStringLiteral("第%1层").arg(i + 1);
    TableStoreys->setVerticalHeaderLabels(rows);
    fill(TableSections, static_cast<int>(p.sections.size()), 3, [&](int r, int c) {
        const kj::ProjectSection& s = p.sections[ix(r)];
        return c == 0 ? qs(s.name) : num(c == 1 ? s.b : s.h);
    });
    const QString keep = ComboSection->currentText();
    ComboSection->clear();
    for (const kj::ProjectSection& s : p.sections) ComboSection->addItem(qs(s.name));
    if (ComboSection->findText(keep) >= 0) ComboSection->setCurrentText(keep);

    // Members: storeys from the top down, column lines and spans in turn.
    QStringList heads;
    for (int k = 0; k <= p.L(); ++k) {
        heads << QStringLiteral("%1轴柱").arg(k + 1);
        if (k < p.L()) heads << QStringLiteral("第%1跨梁").arg(k + 1);
    }
    fill(
        TableMembers, p.NF(), 2 * p.L() + 1,
        [&](int r, int c) {
            const std::size_t s = ix(p.NF() - 1 - r);
            if (c % 2) return qs(p.beams[s][ix(c / 2)]);
            return p.columns.empty() ? QStringLiteral("—") : qs(p.columns[s][ix(c / 2)]);
        },
        [&](int, int c) { return c % 2 == 1 || !p.columns.empty(); });
    TableMembers->setHorizontalHeaderLabels(heads);
    rows.clear();
    for (int r = 0; r < p.NF(); ++r) rows << QStringLiteral("第%1层").arg(p.NF() - r);
    TableMembers->setVerticalHeaderLabels(rows);

    // Loads of the case shown.
    const kj::ProjectCase* c = p.findCase(shownCase());
    loadRows_.clear();
    if (c)
        for (int s = 0; s < p.NF(); ++s)
            for (int k = 0; k < p.L(); ++k)
                for (std::size_t n = 0; n < c->beamLoads[ix(s)][ix(k)].size(); ++n)
                    loadRows_.emplace_back(s, k, static_cast<int>(n));
    fill(
        TableLoads, static_cast<int>(loadRows_.size()), 7,
        [&](int r, int col) {
            const auto [s, k, n] = loadRows_[ix(r)];
            const kj::BeamLoad& l = c->beamLoads[ix(s)][ix(k)][ix(n)];
            const bool point = l.kind == kj::BeamLoad::Kind::Point, partial = l.kind == kj::BeamLoad::Kind::Partial;
            switch (col) {
            case 0: return QString::number(s + 1);
            case 1: return QString::number(k + 1);
            case 2: return point ? kPoint : partial ? kPartial : kUniform;
            case 3: return num(l.value);
            case 4: return point ? QStringLiteral("kN") : QStringLiteral("kN/m");
            case 5: return point ? num(l.x) : partial ? num(l.from) : QString();
            default: return partial ? num(l.to) : QString();
            }
        },
        [&](int r, int col) {
            const auto [s, k, n] = loadRows_[ix(r)];
            const kj::BeamLoad& l = c->beamLoads[ix(s)][ix(k)][ix(n)];
            if (col == 4) return false;
            if (col == 5) return l.kind != kj::BeamLoad::Kind::Uniform;
            if (col == 6) return l.kind == kj::BeamLoad::Kind::Partial;
            return true;
        });
    fill(TableJoints, c ? static_cast<int>(c->jointLoads.size()) : 0, 4, [&](int r, int col) {
        const kj::JointLoad& j = c->jointLoads[ix(r)];
        return col == 0 ? QString::number(j.level) : col == 1 ? QString::number(j.line) : num(col == 2 ? j.P : j.M);
    });
    fill(TableFloors, c ? static_cast<int>(c->floorForces.size()) : 0, 3, [&](int r, int col) {
        const kj::FloorForce& f = c->floorForces[ix(r)];
        return col == 0 ? QString::number(f.level) : col == 1 ? num(std::fabs(f.H)) : (f.H < 0 ? kLeft : kRight);
    });

    // Settings.
    const auto setBox = [this](QWidget* w, const QString& text) {
        if (marks_.count(Key{w, -1, -1})) return;
        if (auto* l = qobject_cast<QLineEdit*>(w)) l->setText(text);
        else if (auto* cb = qobject_cast<QComboBox*>(w)) cb->setCurrentText(text);
    };
    const kj::DesignSettings& d = p.design;
    setBox(TextName, qs(p.name));
    setBox(ComboConcrete, num(p.materials.C));
    setBox(ComboFy, num(p.materials.Fy));
    setBox(ComboCode, qs(d.code));
    setBox(ComboFyv, qs(d.fyv));
    setBox(ComboFloors, qs(d.floors));
    if (!marks_.count(Key{ComboEnvironment, -1, -1})) {
        const auto e = std::find(kEnvironmentValues.begin(), kEnvironmentValues.end(), d.environment);
        ComboEnvironment->setCurrentIndex(e == kEnvironmentValues.end() ? 0 : static_cast<int>(e - kEnvironmentValues.begin()));
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ComboFyv, ComboFloors, ComboEnvironment})
        w->setEnabled(d.code != "原方法");
    setBox(TextCover, qs(d.cover));
    setBox(TextBeta, qs(d.beta));
    setBox(TextTopCount, qs(d.topCount));
    setBox(TextTopDiameter, qs(d.topDiameter));
    setBox(TextBottomCount, qs(d.bottomCount));
    setBox(TextBottomDiameter, qs(d.bottomDiameter));
    setBox(TextStirrupLegs, qs(d.stirrupLegs));
    setBox(TextStirrupDiameter, qs(d.stirrupDiameter));
    setBox(TextStiffness, num(p.beamStiffnessFactor));
    setBox(TextTitleProject, qs(p.title.project));
    setBox(TextTitleDesigner, qs(p.title.designer));
    setBox(TextTitleChecker, qs(p.title.checker));
    setBox(TextTitleDate, qs(p.title.date));
    CheckSelfWeight->setChecked(p.beamSelfWeight);
    const bool own = !p.combinations.empty();
    ComboCombinationSet->setCurrentIndex(own ? 3 : !p.combinationSet ? 0 : *p.combinationSet == "GB50009" ? 2 : 1);
    std::vector<std::string> comboRows = p.combinations;
    if (!own && p.combinationSet) {
        kj::GivenCases given{};
        for (const kj::ProjectCase& pc : p.cases) given[ix(static_cast<int>(pc.kind))] = true;
        for (const kj::Combination& cm :
             kj::combinationsFor(kj::combinationSet(*p.combinationSet), given, {p.gammaL, p.psiC}))
            comboRows.push_back(cm.name);
    }
    fill(TableCombinations, static_cast<int>(comboRows.size()), 1, [&](int r, int) { return qs(comboRows[ix(r)]); },
         [own](int, int) { return own; });
    CommandAddCombination->setEnabled(own);
    CommandDeleteCombination->setEnabled(own);
    CheckPatterns->setChecked(p.liveLoadPatterns);
    CheckPatterns->setEnabled(own || p.combinationSet);
    if (!marks_.count(Key{ComboGammaL, -1, -1})) ComboGammaL->setCurrentIndex(p.gammaL == 1.1 ? 1 : 0);
    if (!marks_.count(Key{ComboPsiC, -1, -1})) ComboPsiC->setCurrentIndex(p.psiC == 0.9 ? 1 : 0);
    ComboGammaL->setEnabled(!own && p.combinationSet);
    ComboPsiC->setEnabled(!own && p.combinationSet);

    // The earthquake: the lists at the project's values, the rest idle without it.
    const kj::SeismicTexts& se = p.seismic;
    const bool seismic = !se.intensity.empty();
    std::optional<kj::SeismicParameters> sp;
    try {
        if (seismic) sp = kj::parseSeismicParameters(se);
    } catch (const std::exception&) {
        // Read and checked with the project: cannot fail here.
    }
    if (!marks_.count(Key{ComboSeismic, -1, -1}))
        ComboSeismic->setCurrentIndex(sp ? static_cast<int>(sp->intensity) + 1 : 0);
    if (sp && !marks_.count(Key{ComboSite, -1, -1})) ComboSite->setCurrentIndex(static_cast<int>(sp->site));
    if (sp && !marks_.count(Key{ComboGroup, -1, -1})) ComboGroup->setCurrentIndex(sp->group - 1);
    if (!marks_.count(Key{ComboSeismicGrade, -1, -1}))
        ComboSeismicGrade->setCurrentIndex(sp && sp->grade ? *sp->grade : 0);
    setBox(TextPeriodFactor, se.psiT.empty() ? QStringLiteral("0.7") : qs(se.psiT));
    CheckCornerColumns->setChecked(se.cornerColumns);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ComboSite, ComboGroup, ComboSeismicGrade, TextPeriodFactor, CheckCornerColumns})
        w->setEnabled(seismic);

    filling_ = was;
    CommandUndo->setEnabled(undo_.canUndo() || hasMarks());
    View1->setProject(p, shownCase());
    View1->setSelected(selectedMembers());
    refreshCaption();
}

QString EditorForm::shownName() const
{
    return path_.isEmpty() ? QStringLiteral("未命名") : QFileInfo(path_).fileName();
}

void EditorForm::refreshCaption()
{
    setWindowTitle(QStringLiteral("框架编辑 - %1 (%2)[*]").arg(shownName(), kjd::shownName(project_.name)));
    setWindowModified(!undo_.isClean());
}

// ---- Selection ----------------------------------------------------------------

std::vector<int> EditorForm::selectedMembers() const
{
    const kj::FrameTopology t = kj::FrameTopology::of(project_.L(), project_.NF());
    std::vector<int> out;
    for (const QTableWidgetItem* item : TableMembers->selectedItems()) {
        const int r = item->row(), c = item->column();
        const int J = r + 1; // storey from the top
        if (J > t.NF || c > 2 * t.L) continue;
        if (c % 2) out.push_back(t.firstBeamOfStorey(J) + c / 2);
        else if (!project_.columns.empty()) out.push_back(t.columnMember(t.firstColumnOfStorey(J) + c / 2));
    }
    std::sort(out.begin(), out.end());
    return out;
}

void EditorForm::memberClicked(int member, bool add)
{
    const kj::FrameTopology t = kj::FrameTopology::of(project_.L(), project_.NF());
    if (member <= 0) {
        if (!add) TableMembers->clearSelection();
        return;
    }
    int row, column;
    if (t.isBeam(member)) {
        row = t.beamStorey(member) - 1;
        column = 2 * (t.beamSpan(member) - 1) + 1;
    } else {
        const int c = member - t.NB;
        row = t.columnStorey(c) - 1;
        column = 2 * t.columnLine(c);
    }
    filling_ = true;
    if (!add) TableMembers->clearSelection();
    if (QTableWidgetItem* item = TableMembers->item(row, column)) {
        item->setSelected(true);
        TableMembers->setCurrentItem(item, QItemSelectionModel::Select);
        TableMembers->scrollToItem(item);
    }
    filling_ = false;
    View1->setSelected(selectedMembers());
    // The loads of a beam: its first row in the load table.
    if (t.isBeam(member)) {
        const int s = t.NF - t.beamStorey(member), k = t.beamSpan(member) - 1;
        for (std::size_t r = 0; r < loadRows_.size(); ++r)
            if (std::get<0>(loadRows_[r]) == s && std::get<1>(loadRows_[r]) == k) {
                TableLoads->selectRow(static_cast<int>(r));
                break;
            }
    }
    const QString name = qs(t.memberName(member));
    showStatus(QStringLiteral("选中 %1").arg(name), false);
}

// ---- Buttons: shape -------------------------------------------------------------

void EditorForm::EditorForm_CommandAddSpan_Click()
{
    const int k = TableSpans->currentRow() >= 0 ? TableSpans->currentRow() : project_.L() - 1;
    commit({}, QStringLiteral("加一跨 (照抄第 %1 跨)").arg(k + 1), [&](kj::Project& p) { p = kj::withSpanAdded(p, k); },
           this);
}

void EditorForm::EditorForm_CommandDeleteSpan_Click()
{
    const int k = TableSpans->currentRow() >= 0 ? TableSpans->currentRow() : project_.L() - 1;
    if (project_.L() <= 1) {
        showStatus(QStringLiteral("框架至少应有一跨, 不能删除唯一的一跨"), true);
        return;
    }
    if (!ask(QStringLiteral("删除第 %1 跨 (%2 m) 及其梁、梁上荷载和右侧的柱列吗?").arg(k + 1).arg(num(project_.spans[ix(k)]))))
        return;
    commit({}, QStringLiteral("删除第 %1 跨").arg(k + 1), [&](kj::Project& p) { p = kj::withSpanDeleted(p, k); }, this);
}

void EditorForm::EditorForm_CommandAddStorey_Click()
{
    const int s = TableStoreys->currentRow() >= 0 ? TableStoreys->currentRow() : project_.NF() - 1;
    commit({}, QStringLiteral("加一层 (照抄第 %1 层)").arg(s + 1), [&](kj::Project& p) { p = kj::withStoreyAdded(p, s); },
           this);
}

void EditorForm::EditorForm_CommandDeleteStorey_Click()
{
    const int s = TableStoreys->currentRow() >= 0 ? TableStoreys->currentRow() : project_.NF() - 1;
    if (project_.NF() <= 1) {
        showStatus(QStringLiteral("框架至少应有一层, 不能删除唯一的一层"), true);
        return;
    }
    if (!ask(QStringLiteral("删除第 %1 层 (%2 m) 及其构件和荷载吗?").arg(s + 1).arg(num(project_.storeys[ix(s)]))))
        return;
    commit({}, QStringLiteral("删除第 %1 层").arg(s + 1), [&](kj::Project& p) { p = kj::withStoreyDeleted(p, s); }, this);
}

void EditorForm::EditorForm_CommandAddSection_Click()
{
    const int r = TableSections->currentRow();
    commit({}, QStringLiteral("加截面"), [&](kj::Project& p) {
        kj::ProjectSection s = r >= 0 ? p.sections.at(ix(r)) : kj::ProjectSection{"", 250, 500};
        for (int n = 1;; ++n) {
            const std::string name = "S" + std::to_string(n);
            if (std::none_of(p.sections.begin(), p.sections.end(), [&](const auto& o) { return o.name == name; })) {
                s.name = name;
                break;
            }
        }
        p.sections.push_back(s);
    }, TableSections);
}

void EditorForm::EditorForm_CommandDeleteSection_Click()
{
    const int r = TableSections->currentRow();
    if (r < 0 || r >= static_cast<int>(project_.sections.size())) return;
    commit({}, QStringLiteral("删除截面 %1").arg(qs(project_.sections[ix(r)].name)),
           [&](kj::Project& p) { p.sections.erase(p.sections.begin() + r); }, TableSections);
}

void EditorForm::EditorForm_CommandAssign_Click()
{
    const std::vector<int> members = selectedMembers();
    const std::string name = ComboSection->currentText().toStdString();
    if (members.empty()) {
        showStatus(QStringLiteral("请先在构件表或图中选中构件"), true);
        return;
    }
    commit({}, QStringLiteral("%1 根构件赋予截面 %2").arg(members.size()).arg(qs(name)), [&](kj::Project& p) {
        const kj::FrameTopology t = kj::FrameTopology::of(p.L(), p.NF());
        for (int i : members) {
            if (t.isBeam(i)) p.beams.at(ix(t.NF - t.beamStorey(i))).at(ix(t.beamSpan(i) - 1)) = name;
            else {
                const int c = i - t.NB;
                p.columns.at(ix(t.NF - t.columnStorey(c))).at(ix(t.columnLine(c))) = name;
            }
        }
    });
}

// ---- Buttons: loads -------------------------------------------------------------

void EditorForm::EditorForm_CommandAddLoad_Click()
{
    const kj::FrameTopology t = kj::FrameTopology::of(project_.L(), project_.NF());
    // The row chosen in the load table: copied to every beam selected, or,
    // with no beam selected, its beam gets a new load.
    const int row = TableLoads->currentRow();
    const bool rowChosen = row >= 0 && row < static_cast<int>(loadRows_.size());
    const kj::LoadCaseKind kind = shownCase();
    kj::BeamLoad load;
    std::vector<std::pair<int, int>> beams; // storey, span from 0
    for (int i : selectedMembers())
        if (t.isBeam(i)) beams.emplace_back(t.NF - t.beamStorey(i), t.beamSpan(i) - 1);
    if (!beams.empty() && rowChosen) {
        const auto [s, k, n] = loadRows_[ix(row)];
        load = project_.findCase(kind)->beamLoads[ix(s)][ix(k)][ix(n)];
    } else if (rowChosen) {
        const auto [s, k, n] = loadRows_[ix(row)];
        beams.emplace_back(s, k);
    }
    if (beams.empty()) beams.emplace_back(project_.NF() - 1, 0);
    const auto [s0, k0] = beams.front();
    const QString what = beams.size() == 1
                             ? QStringLiteral("第 %1 层第 %2 跨加荷载").arg(s0 + 1).arg(k0 + 1)
                             : QStringLiteral("%1 根梁加荷载").arg(beams.size());
    commit({}, what, [&](kj::Project& p) {
        for (const auto& [s, k] : beams) kj::caseOf(p, kind).beamLoads.at(ix(s)).at(ix(k)).push_back(load);
    }, TableLoads);
    // The new load's value, ready to type.
    for (std::size_t r = loadRows_.size(); r-- > 0;)
        if (std::get<0>(loadRows_[r]) == s0 && std::get<1>(loadRows_[r]) == k0) {
            TableLoads->setCurrentCell(static_cast<int>(r), 3);
            break;
        }
}

void EditorForm::EditorForm_CommandDeleteLoad_Click()
{
    const int r = TableLoads->currentRow();
    if (r < 0 || r >= static_cast<int>(loadRows_.size())) return;
    const auto [s, k, n] = loadRows_[ix(r)];
    const kj::LoadCaseKind kind = shownCase();
    commit({}, QStringLiteral("删除第 %1 层第 %2 跨的荷载").arg(s + 1).arg(k + 1),
           [&, s = s, k = k, n = n](kj::Project& p) {
               auto& list = kj::caseOf(p, kind).beamLoads.at(ix(s)).at(ix(k));
               list.erase(list.begin() + n);
           },
           TableLoads);
}

void EditorForm::EditorForm_CommandAddJoint_Click()
{
    const kj::LoadCaseKind kind = shownCase();
    commit({}, QStringLiteral("加节点荷载"),
           [&](kj::Project& p) { kj::caseOf(p, kind).jointLoads.push_back({p.NF(), 1, 0, 0}); }, TableJoints);
}

void EditorForm::EditorForm_CommandDeleteJoint_Click()
{
    const int r = TableJoints->currentRow();
    const kj::LoadCaseKind kind = shownCase();
    if (r < 0) return;
    commit({}, QStringLiteral("删除节点荷载第 %1 行").arg(r + 1), [&](kj::Project& p) {
        auto& list = kj::caseOf(p, kind).jointLoads;
        if (r < static_cast<int>(list.size())) list.erase(list.begin() + r);
    }, TableJoints);
}

void EditorForm::EditorForm_CommandAddFloor_Click()
{
    const kj::LoadCaseKind kind = shownCase();
    commit({}, QStringLiteral("加楼层水平力"),
           [&](kj::Project& p) { kj::caseOf(p, kind).floorForces.push_back({p.NF(), 0}); }, TableFloors);
}

void EditorForm::EditorForm_CommandDeleteFloor_Click()
{
    const int r = TableFloors->currentRow();
    const kj::LoadCaseKind kind = shownCase();
    if (r < 0) return;
    commit({}, QStringLiteral("删除楼层水平力第 %1 行").arg(r + 1), [&](kj::Project& p) {
        auto& list = kj::caseOf(p, kind).floorForces;
        if (r < static_cast<int>(list.size())) list.erase(list.begin() + r);
    }, TableFloors);
}

void EditorForm::EditorForm_CommandAddCombination_Click()
{
    commit({}, QStringLiteral("加组合"), [&](kj::Project& p) {
        p.combinations.push_back(p.findCase(kj::LoadCaseKind::Q) ? "1.3G+1.5Q" : "1.3G");
        p.combinationSet.reset();
    }, TableCombinations);
}

void EditorForm::EditorForm_CommandDeleteCombination_Click()
{
    const int r = TableCombinations->currentRow();
    if (r < 0 || r >= static_cast<int>(project_.combinations.size())) return;
    commit({}, QStringLiteral("删除组合第 %1 行").arg(r + 1),
           [&](kj::Project& p) { p.combinations.erase(p.combinations.begin() + r); }, TableCombinations);
}
