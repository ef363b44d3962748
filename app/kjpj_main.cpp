// The desktop program: the main window and its event loop. Slot names with a
// leading backslash resolve against the folder the program is started in.
#include "common/textfile.h"
#include "main/form1.h"

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

    std::error_code ec;
    const std::filesystem::path here = std::filesystem::current_path(ec);
    if (!ec) kj::setWorkingRoot(here);

    Form1 form;
    form.show();
    return app.exec();
}
