// The desktop program: the main window and its event loop. Slot names with a
// leading backslash resolve against the working folder: the folder the
// program is started in, the folder given as its argument, or with
// --desktop the folder chosen last.
#include "common/textfile.h"
#include "main/form1.h"
#include "main/working_folder.h"

#include <QApplication>
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

    // Qt's own texts (context menus, standard buttons) in Chinese where installed.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qt"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    // The working folder: the current one, one named on the command line,
    // or from the desktop the folder chosen last (made with the examples
    // when it does not exist yet).
    const kjw::StartFolder start = kjw::startFolder(QApplication::arguments().mid(1), kjw::programSettings());
    QString problem = start.error;
    if (start.desktop && problem.isEmpty()) problem = kjw::prepareFolder(start.path);
    if (!problem.isEmpty() || !kjw::enterFolder(start.path)) {
        std::error_code ec;
        const std::filesystem::path here = std::filesystem::current_path(ec);
        if (!ec) kj::setWorkingRoot(here);
        if (problem.isEmpty())
            problem = QStringLiteral("无法进入工作目录 %1, 程序在当前文件夹中启动").arg(start.path);
    }

    Form1 form;
    form.show();
    if (!problem.isEmpty()) form.messageBox(problem);
    return app.exec();
}
