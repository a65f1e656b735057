// Input on the table: keys, clicks, held presses, the wheel, row insertion
// and deletion.
#include "ktablewin.h"
#include "ktimer.h"

MouseEvent KTableWin::rep_event;

KTimer* KTableWin::repeatTimer() { return nullptr; }
void KTableWin::keyboardHandler(KWindow*, KeyboardEvent*) {}
void KTableWin::cellMouseHandler(KWindow*, MouseEvent*) {}
void KTableWin::titleMouseHandler(KWindow*, MouseEvent*) {}
void KTableWin::mouseHandler(KWindow*, MouseEvent*) {}
void KTableWin::cellTimerHandler() {}
void KTableWin::titleTimerHandler() {}
void KTableWin::insertRow(int, int) {}
void KTableWin::deleteRow(int, int) {}
void KTableWin::selectMove(int, KeyboardEvent*) {}
int KTableWin::firstEditCol() const { return -1; }
void KTableWin::setEditCell(int, int) {}
void KTableWin::setEditRow(int) {}
void KTableWin::incEditCol(int) {}
void KTableWin::deleteCellEditor() {}
bool KTableWin::autoInsertRow(unsigned, unsigned, long) { return false; }
