// Loads the edit-control library and does nothing else, so a test sees exactly what the
// library writes while it is loaded and unloaded.
#include <kestrum/editctl/dimsafe_edit.h>

int main() { return CDimsafeEdit::m_dUNDEF == -999999999.0 ? 0 : 1; }
