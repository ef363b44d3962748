// The main window's "导入构件数据": member parameter correction on the main
// window's own entry and value boxes.
#include "main/form1.h"

void Form1::Form1_Command28_Click() {}
