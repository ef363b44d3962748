// The main window's "导入荷载数据": the load strings of the load file into
// the beam load boxes of the frame template.
#include "main/form1.h"

void Form1::Form1_Command23_Click() {}
