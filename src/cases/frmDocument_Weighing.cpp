#include "cases/frmDocument.h"

// Weighing entry and undo: to come.
void frmDocument::NextWt_Click() {}
void frmDocument::UndoToLastWt_Click() {}
