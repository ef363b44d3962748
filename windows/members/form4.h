#pragma once
// The member parameter window. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
#include "common_widgets/form_base.h"

class Form4 : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form4(QWidget* mainWindow);
};
