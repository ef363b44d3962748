#pragma once
// The internal-force diagram window. Created by the main window on first use,
// modeless, and afterwards only hidden and shown, so it keeps its contents.
#include "common_widgets/form_base.h"

class Form5 : public kjw::FormBase {
    Q_OBJECT
public:
    // mainWindow is shown again when this window returns to it.
    explicit Form5(QWidget* mainWindow);
};
