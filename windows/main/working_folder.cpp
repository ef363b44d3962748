#include "main/working_folder.h"

#include "common/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <filesystem>

namespace kjw {

StartFolder startFolder(const QStringList& arguments, const QSettings& settings)
{
    StartFolder start;
    start.path = QDir::currentPath();
    if (arguments.isEmpty()) return start;
    const QString& first = arguments.front();
    if (first == QLatin1String("--desktop")) {
        start.desktop = true;
        start.path = settings.value(QLatin1String(kWorkingFolderKey), QDir::home().filePath(QStringLiteral("kjpj")))
                         .toString();
        return start;
    }
    if (arguments.size() > 1 || first.startsWith(QLatin1String("--"))) {
        start.error = QStringLiteral("用法: kjpj [工作目录 | --desktop]; 无法识别 \"%1\", 程序在当前文件夹中启动")
                          .arg(arguments.join(QLatin1Char(' ')));
        return start;
    }
    const QFileInfo folder(first);
    if (!folder.isDir()) {
        start.error = QStringLiteral("工作目录 %1 不存在, 程序在当前文件夹 %2 中启动")
                          .arg(QDir::toNativeSeparators(first), QDir::toNativeSeparators(start.path));
        return start;
    }
    start.path = folder.absoluteFilePath();
    return start;
}

QString prepareFolder(const QString& path)
{
    if (QFileInfo(path).isDir()) return {};
    const QString shown = QDir::toNativeSeparators(path);
    if (!QDir().mkpath(path)) return QStringLiteral("无法建立工作目录 %1").arg(shown);
    // The example frames travel inside the program, byte for byte.
    const QDir examples(QStringLiteral(":/examples"));
    for (const QString& name : examples.entryList(QDir::Files)) {
        QFile from(examples.filePath(name));
        QFile to(QDir(path).filePath(name));
        if (!from.open(QIODevice::ReadOnly) || !to.open(QIODevice::WriteOnly) || to.write(from.readAll()) < 0)
            return QStringLiteral("无法把示例文件 %1 写入工作目录 %2").arg(name, shown);
    }
    return {};
}

bool enterFolder(const QString& path)
{
    const QFileInfo folder(path);
    if (!folder.isDir() || !QDir::setCurrent(folder.absoluteFilePath())) return false;
    kj::setWorkingRoot(std::filesystem::path(QDir::currentPath().toStdU16String()));
    return true;
}

QSettings& programSettings()
{
    static QSettings settings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("kjpj"), QStringLiteral("kjpj"));
    return settings;
}

} // namespace kjw
