#include "main/form3.h"

Form3::Form3(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("hzck"));
}
