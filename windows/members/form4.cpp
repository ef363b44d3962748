#include "members/form4.h"

Form4::Form4(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("gjck"));
}
