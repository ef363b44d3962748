// The frame editor's files: new, open, save, recent files, the export to
// data files, and the calculation of the project.
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

QString qs(const std::string& s) { return QString::fromStdString(s); }

constexpr const char* kRecentKey = "editor/recentFiles";
constexpr int kRecentCount = 8;

} // namespace

void EditorForm::startProject(const kj::Project& p, const QString& path)
{
    path_ = path;
    undo_.clear();
    marks_.clear();
    project_ = p;
    project_.fileName = path.isEmpty() ? std::string("未命名.kjpj") : QDir::toNativeSeparators(path).toStdString();
    refresh();
    undo_.setClean();
    showStatus(QString(), false);
    refreshCaption();
}

bool EditorForm::maySwitch()
{
    if (undo_.isClean()) return true;
    const int answer = askUnsaved(QStringLiteral("%1 有未保存的修改。先保存吗?").arg(shownName()));
    if (answer == 2) return false;
    if (answer == 1) return true;
    EditorForm_CommandSave_Click();
    return undo_.isClean();
}

void EditorForm::closeEvent(QCloseEvent* event)
{
    if (maySwitch()) event->accept();
    else event->ignore();
}

void EditorForm::EditorForm_CommandNew_Click()
{
    if (maySwitch()) startProject(kj::newProject(), QString());
}

void EditorForm::EditorForm_CommandOpen_Click()
{
    if (!maySwitch()) return;
    const QString path = chooseFile(QStringLiteral("打开项目文件或数据文件"),
                                    QStringLiteral("项目文件 (*.kjpj);;框架数据文件 (*.txt);;所有文件 (*)"), false,
                                    path_.isEmpty() ? QDir::currentPath() : QFileInfo(path_).path());
    if (!path.isEmpty()) openFile(path);
}

bool EditorForm::openFile(const QString& path)
{
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    const std::filesystem::path file = kj::pathFromUtf8(path.toStdString());
    try {
        kj::completeInterruptedCommit(); // never half of a run's files
        const QFileInfo info(path);
        if (info.suffix().compare(QStringLiteral("kjpj"), Qt::CaseInsensitive) == 0) {
            startProject(kj::readProjectFile(file, shown), path);
            addRecent(info.absoluteFilePath());
            // Opened to be mended: what the calculation would refuse is said at once.
            if (const auto problem = kj::projectProblem(project_))
                showStatus(QStringLiteral("不能计算: ") + qs(*problem), true);
            return true;
        }
        const std::string text = kj::readTextFile(file, shown);
        // A frame data file: G, with NAMEQ.txt, NAMEW.txt and NAMEW2.txt beside it when they are there.
        std::vector<kj::LoadCaseInput> cases{kj::readLoadCase(kj::LoadCaseKind::G, text, shown)};
        for (kj::LoadCaseKind k : {kj::LoadCaseKind::Q, kj::LoadCaseKind::W, kj::LoadCaseKind::W2}) {
            const QString sibling = info.dir().filePath(info.completeBaseName() + QString::fromLatin1(kj::caseLetter(k)) +
                                                        QLatin1Char('.') + info.suffix());
            const std::filesystem::path sp = kj::pathFromUtf8(sibling.toStdString());
            if (kj::fileExists(sp)) {
                const std::string sn = QDir::toNativeSeparators(sibling).toStdString();
                cases.push_back(kj::readLoadCase(k, kj::readTextFile(sp, sn), sn));
            }
        }
        kj::checkLoadCases(cases);
        kj::Project p = kj::projectFromDataFiles(cases, kj::DesignSettings{}, std::nullopt, {});
        p.fileName = shown;
        p = kj::parseProject(kj::projectJson(p), shown);
        startProject(p, QString());
        undo_.resetClean(); // imported, not yet saved as a project
        refreshCaption();
        const auto problem = kj::projectProblem(project_);
        showStatus(QStringLiteral("已导入数据文件 %1 (%2 个工况); 保存为项目文件后可再打开")
                           .arg(QDir::toNativeSeparators(path))
                           .arg(cases.size()) +
                       (problem ? QStringLiteral("; 不能计算: ") + qs(*problem) : QString()),
                   problem.has_value());
        importedFrom_ = info.absoluteFilePath();
        return true;
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("打开"), kj::failureText(e));
        return false;
    }
}

bool EditorForm::saveTo(const QString& path)
{
    if (hasMarks()) {
        messageBox(QStringLiteral("有 %1 处输入有误, 未保存:\n%2").arg(marks_.size()).arg(firstMark()));
        return false;
    }
    const std::string shown = QDir::toNativeSeparators(path).toStdString();
    try {
        const std::filesystem::path file = kj::pathFromUtf8(path.toStdString());
        const std::string text = kj::projectJson(project_);
        kj::keepBackup(file, shown);
        kj::replaceFileBytes(file, text, shown);
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("保存"), kj::failureText(e));
        return false;
    }
    path_ = path;
    project_.fileName = shown;
    importedFrom_.clear();
    undo_.setClean();
    addRecent(QFileInfo(path).absoluteFilePath());
    refreshCaption();
    showStatus(QStringLiteral("已保存 %1").arg(QDir::toNativeSeparators(path)), false);
    return true;
}

void EditorForm::EditorForm_CommandSave_Click()
{
    if (path_.isEmpty()) EditorForm_CommandSaveAs_Click();
    else saveTo(path_);
}

void EditorForm::EditorForm_CommandSaveAs_Click()
{
    QString suggested = path_;
    if (suggested.isEmpty()) {
        const QFileInfo from(importedFrom_);
        suggested = importedFrom_.isEmpty() ? QDir::current().filePath(qs(project_.name) + QStringLiteral(".kjpj"))
                                            : from.dir().filePath(from.completeBaseName() + QStringLiteral(".kjpj"));
    }
    QString path = chooseFile(QStringLiteral("保存项目文件"), QStringLiteral("项目文件 (*.kjpj)"), true, suggested);
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".kjpj");
    saveTo(path);
}

QStringList EditorForm::recentFiles() const
{
    return kjw::programSettings().value(QLatin1String(kRecentKey)).toStringList();
}

void EditorForm::addRecent(const QString& path)
{
    QStringList files = recentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentCount) files.removeLast();
    kjw::programSettings().setValue(QLatin1String(kRecentKey), files);
}

void EditorForm::EditorForm_CommandExport_Click()
{
    if (hasMarks()) {
        messageBox(QStringLiteral("有 %1 处输入有误, 未导出:\n%2").arg(marks_.size()).arg(firstMark()));
        return;
    }
    std::vector<std::pair<kj::LoadCaseKind, std::string>> texts;
    try {
        for (const kj::ProjectCase& c : project_.cases) texts.emplace_back(c.kind, kj::dataFileText(project_, c.kind));
    } catch (const std::exception& e) {
        reportFailure(QStringLiteral("导出数据文件"), kj::failureText(e));
        return;
    }
    // What the data files leave out is said before anything is written.
    const std::vector<std::string> left = kj::dataFileOmissions(project_);
    if (!left.empty()) {
        QString list;
        for (const std::string& line : left) list += QStringLiteral("\n  · ") + qs(line);
        if (!ask(QStringLiteral("数据文件只含框架、荷载和材料, 不含项目的以下设置:%1\n\n用数据文件计算时须在主窗口和工况窗口中"
                                "另行选择 (默认按原方法, 不作抗震计算)。仍要导出吗?")
                     .arg(list))) {
            showStatus(QStringLiteral("未导出数据文件"), false);
            return;
        }
    }
    const QFileInfo base(path_.isEmpty() ? (importedFrom_.isEmpty() ? QDir::current().filePath(qs(project_.name))
                                                                   : importedFrom_)
                                         : path_);
    const QString path = chooseFile(QStringLiteral("导出恒载 G 的数据文件"), QStringLiteral("框架数据文件 (*.txt)"), true,
                                    base.dir().filePath(base.completeBaseName() + QStringLiteral(".txt")));
    if (path.isEmpty()) return;
    const QFileInfo out(path);
    QStringList written;
    attempt(QStringLiteral("导出数据文件"), [&] {
        for (const auto& [kind, text] : texts) {
            const QString name = kind == kj::LoadCaseKind::G
                                     ? path
                                     : out.dir().filePath(out.completeBaseName() + QString::fromLatin1(kj::caseLetter(kind)) +
                                                          QLatin1Char('.') + out.suffix());
            const std::string shown = QDir::toNativeSeparators(name).toStdString();
            const std::filesystem::path file = kj::pathFromUtf8(name.toStdString());
            kj::keepBackup(file, shown);
            kj::replaceTextFile(file, text, shown);
            written << QDir::toNativeSeparators(name);
        }
        showStatus(QStringLiteral("已导出 ") + written.join(QStringLiteral(", ")), false);
    });
}

// ---- The calculation ---------------------------------------------------------------

void EditorForm::EditorForm_CommandCalc_Click()
{
    if (hasMarks()) {
        const QString why = QStringLiteral("有 %1 处输入有误, 不能计算:\n%2").arg(marks_.size()).arg(firstMark());
        showStatus(firstMark(), true);
        messageBox(why);
        return;
    }
    // The files of the calculation beside the project (an unsaved one: in the working folder).
    const QFileInfo base(path_.isEmpty() ? QString::fromStdString(kj::utf8FromPath(kj::workingRoot() / "未命名"))
                                         : path_);
    const auto beside = [&](const QString& end) {
        return QDir::toNativeSeparators(base.dir().filePath(base.completeBaseName() + end)).toStdString();
    };
    kj::CalcRequest request;
    request.project = project_;
    request.reportName = beside(QStringLiteral("-计算书.txt"));
    request.renewal.assign(1, '1'); // a literal here trips a false -Wrestrict of GCC 12
    if (CheckJson->isChecked()) request.jsonName = beside(QStringLiteral(".json"));
    if (CheckPdf->isChecked()) {
        request.pdfName = beside(QStringLiteral(".pdf"));
        request.pdfWriter = kjd::writeRunBook;
    }
    attempt(QStringLiteral("计算"), [&] {
        kj::CalcResult result = kj::runCalculation(request);
        auto shown = std::make_shared<const kj::FileCalculation>(kj::fileCalculation(result));
        if (!reportView_) reportView_ = new ReportView(this);
        reportView_->showReport(request.reportName);
        reportView_->show();
        if (!graphics_) {
            graphics_ = new GraphicsForm(this);
            graphics_->designSettings = [this] { return project_.design; };
            kjw::resizeToFit(graphics_, graphics_->sizeHint());
        }
        graphics_->showCalculation(shown, QStringLiteral("框架编辑的计算, ") + shownName());
        graphics_->show();
        graphics_->raise();
        QString files = qs(request.reportName);
        if (!request.jsonName.empty()) files += QStringLiteral(", ") + qs(request.jsonName);
        if (!request.pdfName.empty()) files += QStringLiteral(", ") + qs(request.pdfName);
        showStatus(QStringLiteral("计算完成, 写出 ") + files, false);
    });
}
