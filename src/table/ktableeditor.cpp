// KTableCellEditor: the in-place EDIT control over a table cell.
#include "ktablewin.h"

KTableCellEditor::KTableCellEditor(KTableWin* t) : table(t) {}
KTableCellEditor::~KTableCellEditor() {}
void KTableCellEditor::setIsModified(bool) {}
bool KTableCellEditor::getIsModified() const { return false; }
void KTableCellEditor::setFocus() {}
void KTableCellEditor::setValues(KArgList* args) { KWindow::setValues(args); }
void KTableCellEditor::menuHandler(unsigned int, unsigned int) {}
KString KTableCellEditor::getText() const { return KString(); }
int KTableCellEditor::getTextLength() const { return 0; }
void KTableCellEditor::setText(const KString&, bool) {}
void KTableCellEditor::replaceText(const KString&) {}
void KTableCellEditor::_setText(const KString&, unsigned, unsigned, bool) {}
void KTableCellEditor::getSel(int*, int*) const {}
void KTableCellEditor::setTabStop(int) {}
LRESULT KTableCellEditor::sendMessage(unsigned, unsigned, long) const { return 0; }
void KTableCellEditor::deleteCellEditor() {}
LRESULT CALLBACK KTableCellEditor::wndProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(h, m, w, l); }
void KTableCellEditor::createControl() {}
void KTableCellEditor::resizeHandler(KWindow*, ResizeEvent*) {}
LRESULT KTableCellEditor::controlMessage(UINT, WPARAM, LPARAM) { return 0; }
KTableCellEditor* MakeTableCellEditor(KWindow*, KTableWin*, KArgList*) { return nullptr; }
