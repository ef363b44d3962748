#include "viewers/form5.h"

Form5::Form5(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("内力查询"));
}
