// The desktop program: the main window and its event loop. Slot names with a
// leading backslash resolve against the working folder: the folder the
// program is started in, the folder given as its argument, or with
// --desktop the folder chosen last. `kjpj JOB.kjpj` and `kjpj --editor` open
// the frame editor instead of the main window.
#include "common/textfile.h"
#include "editor/editor_form.h"
#include "main/form1.h"
#include "main/working_folder.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <filesystem>
#include <system_error>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kjpj"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("kjpj")));

    // Qt's own texts (file dialogs, context menus, standard buttons) in
    // Chinese: qtbase_zh_CN of the Qt translations, where installed.
    QTranslator qtTexts;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtTexts.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), translations) ||
        qtTexts.load(chinese, QStringLiteral("qt"), QStringLiteral("_"), translations))
        QApplication::installTranslator(&qtTexts);

    // The frame editor: asked for, or a project file named (made absolute
    // before the working folder is entered).
    QStringList arguments = QApplication::arguments().mid(1);
    bool editor = arguments.removeAll(QStringLiteral("--editor")) > 0;
    QString project;
    for (auto it = arguments.begin(); it != arguments.end();) {
        if (it->endsWith(QStringLiteral(".kjpj"), Qt::CaseInsensitive)) {
            // "\KJ-1.kjpj" as the batch command takes it: a file of the current folder.
            const QString name = it->startsWith(QLatin1Char('\\')) ? it->mid(1) : *it;
            project = QFileInfo(name).absoluteFilePath();
            editor = true;
            it = arguments.erase(it);
        } else {
            ++it;
        }
    }

    // The working folder: the current one, one named on the command line,
    // or from the desktop the folder chosen last (made with the examples
    // when it does not exist yet).
    const kjw::StartFolder start = kjw::startFolder(arguments, kjw::programSettings());
    QString problem = start.error;
    if (start.desktop && problem.isEmpty()) problem = kjw::prepareFolder(start.path);
    if (!problem.isEmpty() || !kjw::enterFolder(start.path)) {
        std::error_code ec;
        const std::filesystem::path here = std::filesystem::current_path(ec);
        if (!ec) kj::setWorkingRoot(here);
        if (problem.isEmpty())
            problem = QStringLiteral("无法进入工作目录 %1, 程序在当前文件夹中启动").arg(start.path);
    }

    if (editor) {
        EditorForm window;
        window.show();
        if (!problem.isEmpty()) window.messageBox(problem);
        if (!project.isEmpty()) window.openFile(project);
        return app.exec();
    }
    Form1 form;
    form.show();
    if (!problem.isEmpty()) form.messageBox(problem);
    return app.exec();
}
