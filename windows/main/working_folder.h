#pragma once
// The program's working folder: the folder slot names with a leading
// backslash resolve against, and the current folder for the others. The
// program starts in the current folder, in a folder named on its command
// line, or, started from the desktop, in the folder chosen last.
#include <QSettings>
#include <QString>
#include <QStringList>

namespace kjw {

// The settings key of the folder chosen last.
inline constexpr const char* kWorkingFolderKey = "workingFolder";

struct StartFolder {
    QString path;         // the folder to work in
    bool desktop = false; // started from the desktop entry
    QString error;        // why the arguments cannot be followed; path is then the current folder
};

// From the program's arguments after Qt has taken its own: none, the
// current folder; FOLDER, that folder (it must exist); --desktop, the folder
// chosen last, or the folder kjpj in the home folder.
StartFolder startFolder(const QStringList& arguments, const QSettings& settings);

// A folder that does not exist yet is created and given the example frames
// (data, member parameter and load files). An existing folder is left as it
// is. Returns a message when the folder cannot be made, empty otherwise.
QString prepareFolder(const QString& path);

// Makes the folder the working folder. False when it cannot be entered.
bool enterFolder(const QString& path);

// The settings of the program, where the folder chosen last is kept.
QSettings& programSettings();

} // namespace kjw
