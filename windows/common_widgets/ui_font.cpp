#include "common_widgets/ui_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace kjw {

QFont songtiFont(int points)
{
    static const bool substituted = [] {
        // Monospaced CJK fonts first: like 宋体 they give Latin letters half the
        // width of a Chinese character, so labels line up over their boxes.
        QFont::insertSubstitutions(QStringLiteral("宋体"),
                                   {QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                                    QStringLiteral("WenQuanYi Zen Hei Mono"),
                                    QStringLiteral("Noto Sans Mono CJK SC"),
                                    QStringLiteral("WenQuanYi Zen Hei"),
                                    QStringLiteral("Noto Sans CJK SC"),
                                    QStringLiteral("AR PL UMing CN")});
        return true;
    }();
    (void)substituted;
    QFont font(QStringLiteral("宋体"));
    font.setPixelSize(points * 4 / 3);
    return font;
}

QFont tableFont(int points)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (const QString& family : {QStringLiteral("NSimSun"), QStringLiteral("WenQuanYi Zen Hei Mono"),
                                  QStringLiteral("WenQuanYi Micro Hei Mono"), QStringLiteral("Noto Sans Mono CJK SC"),
                                  QStringLiteral("Sarasa Mono SC")})
        if (QFontDatabase::hasFamily(family)) {
            font = QFont(family);
            break;
        }
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(points * 4 / 3);
    return font;
}

} // namespace kjw
