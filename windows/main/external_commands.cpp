#include "main/external_commands.h"

namespace kj {

std::string externalCommandPrompt()
{
    return "1.运行记事本\r\n2.运行dos命令\r\n3.运行me-dos命令\r\n5.运行计算器\r\n\r\n请输入数字选择";
}

std::vector<std::string> externalCommandPrograms(int answer)
{
    static const std::vector<std::string> terminals{
        "x-terminal-emulator", "gnome-terminal", "konsole", "xfce4-terminal",
        "mate-terminal",       "lxterminal",     "qterminal", "xterm"};
    std::vector<std::string> programs;
    switch (answer) {
    case 1:
        programs = {"notepad.exe", "gnome-text-editor", "gedit", "kate", "kwrite",
                    "mousepad", "xed", "pluma", "featherpad", "leafpad", "xedit"};
        break;
    case 2:
        programs = {"cmd.exe"};
        programs.insert(programs.end(), terminals.begin(), terminals.end());
        break;
    case 3:
        programs = {"command.com"};
        programs.insert(programs.end(), terminals.begin(), terminals.end());
        break;
    case 5:
        programs = {"calc.exe", "gnome-calculator", "kcalc", "galculator", "mate-calc",
                    "qalculate-gtk", "xcalc"};
        break;
    default:
        break;
    }
    return programs;
}

std::string externalCommandName(int answer)
{
    switch (answer) {
    case 1: return "记事本";
    case 2: return "dos命令窗口";
    case 3: return "me-dos命令窗口";
    case 5: return "计算器";
    default: return "";
    }
}

} // namespace kj
