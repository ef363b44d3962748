#include "viewers/form2.h"

Form2::Form2(QWidget* mainWindow) : kjw::FormBase(mainWindow)
{
    setWindowFlag(Qt::Window);
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("配筋查询"));
}
