#pragma once
// The window "框架编辑": one project (.kjpj) in tables of its spans,
// storeys, sections, materials and members, its loads per case, its joint
// loads and floor forces, its design settings and combinations, beside a
// live drawing. The project changes only through undoable commands; the
// tables and the drawing are views of it. A typed value that the project
// cannot take is marked in its cell, the status line says why, and nothing
// is saved or calculated while a mark stands. Resizable, modeless.
#include "calc/project.h"
#include "common_widgets/form_base.h"
#include "editor/editor_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QUndoStack>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <tuple>

class ReportView;
class GraphicsForm;

class EditorForm : public kjw::FormBase {
    Q_OBJECT
public:
    explicit EditorForm(QWidget* parent = nullptr);
    ~EditorForm() override;

    // Asks for a file name: (title, filter, save, suggested) -> name, empty when cancelled.
    std::function<QString(const QString&, const QString&, bool, const QString&)> chooseFile;
    // A yes/no question; true for yes.
    std::function<bool(const QString&)> ask;
    // Unsaved changes are about to be lost: 0 save them, 1 discard them, 2 cancel.
    std::function<int(const QString&)> askUnsaved;

    const kj::Project& project() const { return project_; }
    QString filePath() const { return path_; }
    QUndoStack* undoStack() { return &undo_; }
    bool hasMarks() const { return !marks_.empty(); }
    // The reason of the first mark, as the status line said it; empty when none.
    QString firstMark() const;
    // Whether the field (a table cell, or a box with row and column -1) is marked.
    bool isMarked(QWidget* field, int row = -1, int column = -1) const;

    // Opens a project or imports a frame data file (with its Q and W files
    // beside it, NAMEQ.txt and NAMEW.txt, when they are there). False with a
    // message when it cannot be read; the editor then keeps what it held.
    bool openFile(const QString& path);
    // Writes the project, keeping the replaced file as .bak. False with a message on failure.
    bool saveTo(const QString& path);
    // Asks what to do with unsaved changes; false when the user cancels.
    bool maySwitch();
    // The recent files, newest first.
    QStringList recentFiles() const;

    // Buttons.
    QPushButton *CommandNew, *CommandOpen, *CommandRecent, *CommandSave, *CommandSaveAs, *CommandExport;
    QPushButton *CommandUndo, *CommandRedo, *CommandCalc;
    QPushButton *CommandAddSpan, *CommandDeleteSpan, *CommandAddStorey, *CommandDeleteStorey;
    QPushButton *CommandAddSection, *CommandDeleteSection, *CommandAssign;
    QPushButton *CommandAddLoad, *CommandDeleteLoad, *CommandAddJoint, *CommandDeleteJoint;
    QPushButton *CommandAddFloor, *CommandDeleteFloor, *CommandAddCombination, *CommandDeleteCombination;
    // The frame.
    QLineEdit* TextName;
    QTableWidget *TableSpans, *TableStoreys, *TableSections, *TableMembers;
    QComboBox *ComboConcrete, *ComboFy, *ComboSection;
    // Loads of the case chosen.
    QComboBox* ComboCase;
    QTableWidget *TableLoads, *TableJoints, *TableFloors;
    // Settings and combinations.
    QComboBox *ComboCode, *ComboFyv, *ComboFloors, *ComboEnvironment, *ComboCombinationSet;
    QLineEdit *TextCover, *TextBeta, *TextTopCount, *TextTopDiameter, *TextBottomCount, *TextBottomDiameter;
    QLineEdit *TextStirrupLegs, *TextStirrupDiameter, *TextStiffness;
    QLineEdit *TextTitleProject, *TextTitleDesigner, *TextTitleChecker, *TextTitleDate;
    QCheckBox* CheckSelfWeight;
    QTableWidget* TableCombinations;
    // The earthquake: intensity ("无" first: no seismic design), site class,
    // design group, the grade (by Table 6.1.2 or chosen), psi_T and whether
    // the outer columns are corner columns.
    QComboBox *ComboSeismic, *ComboSite, *ComboGroup, *ComboSeismicGrade;
    QLineEdit* TextPeriodFactor;
    QCheckBox* CheckCornerColumns;
    // The live load: patterned per span; γL and ψc of Q in a built-in set.
    QCheckBox* CheckPatterns;
    QComboBox *ComboGammaL, *ComboPsiC;
    // The calculation's files on request.
    QCheckBox *CheckJson, *CheckPdf;
    // The drawing and its layer.
    QComboBox* ComboLayer;
    kjw::EditorView* View1;
    QTabWidget* Tabs;
    QLabel* StatusLine;

    // The windows the calculation opens (null before the first).
    ReportView* reportView() const { return reportView_; }
    GraphicsForm* graphicsForm() const { return graphics_; }

public slots:
    void EditorForm_CommandNew_Click();
    void EditorForm_CommandOpen_Click();
    void EditorForm_CommandSave_Click();
    void EditorForm_CommandSaveAs_Click();
    void EditorForm_CommandExport_Click();
    void EditorForm_CommandCalc_Click();
    void EditorForm_CommandAddSpan_Click();
    void EditorForm_CommandDeleteSpan_Click();
    void EditorForm_CommandAddStorey_Click();
    void EditorForm_CommandDeleteStorey_Click();
    void EditorForm_CommandAddSection_Click();
    void EditorForm_CommandDeleteSection_Click();
    void EditorForm_CommandAssign_Click();
    void EditorForm_CommandAddLoad_Click();
    void EditorForm_CommandDeleteLoad_Click();
    void EditorForm_CommandAddJoint_Click();
    void EditorForm_CommandDeleteJoint_Click();
    void EditorForm_CommandAddFloor_Click();
    void EditorForm_CommandDeleteFloor_Click();
    void EditorForm_CommandAddCombination_Click();
    void EditorForm_CommandDeleteCombination_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    friend class ProjectCommand;
    using Key = std::tuple<QWidget*, int, int>;
    using Edit = std::function<void(kj::Project&)>;

    QWidget* buildFrameTab();
    QWidget* buildLoadsTab();
    QWidget* buildSettingsTab();
    QPushButton* tool(QPushButton*& member, const char* name, const QString& caption, const QString& tip,
                      void (EditorForm::*slot)());
    QTableWidget* table(const char* name, const QStringList& headers);
    QLineEdit* box(const char* name, const QString& tip);

    // Applies an edit to a copy of the project and checks it as the project
    // file reads it: a project that passes becomes one undoable command;
    // one that does not marks the field with the reason. reshapes names the
    // table whose rows the edit adds, removes or reorders (its marks go), or
    // the window itself for a change of the frame's shape, refused while
    // any mark stands.
    bool commit(const Key& field, const QString& what, const Edit& edit, QWidget* reshapes = nullptr);
    void mark(const Key& field, const QString& reason);
    void unmark(const Key& field);
    void showStatus(const QString& text, bool bad);
    // Becomes the project shown (undo and redo; clearMarks after a command done again).
    void setProject(const kj::Project& p, bool clearMarks);
    // 撤销 and Ctrl+Z: refused values typed are taken back first, then the last edit.
    void undoEdit();
    void refresh();
    void refreshCaption();
    void cellEdited(QTableWidget* t, int row, int column);
    // The edit of a table cell typed as text: applied (a command or a mark)
    // or only checked as it is typed. False when the project cannot take it.
    bool cellEdit(QTableWidget* t, int row, int column, const QString& text, bool apply);
    bool check(const QString& what, const Edit& edit);
    // The edit of a box: applied (a command or a mark) or only checked as it
    // is typed. False when the project cannot take it.
    bool boxEdited(QWidget* w, bool apply = true);
    // As a box is typed: marked while the project cannot take its text.
    void boxTyped(QWidget* w);
    void selectMembers(const std::vector<int>& members);
    void memberClicked(int member, bool add);
    std::vector<int> selectedMembers() const;
    kj::LoadCaseKind shownCase() const;
    void addRecent(const QString& path);
    void startProject(const kj::Project& p, const QString& path);
    QString shownName() const;

    kj::Project project_;
    QString path_;
    QString importedFrom_; // the data file an unsaved project was imported from
    QUndoStack undo_;
    std::map<Key, QString> marks_;
    bool filling_ = false;
    // The beam load rows: storey, span, index in the beam's list.
    std::vector<std::tuple<int, int, int>> loadRows_;
    ReportView* reportView_ = nullptr;
    GraphicsForm* graphics_ = nullptr;
};
