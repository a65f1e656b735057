// The process's error mode, set for the lifetime of an object.
#include "kservices.h"

KSysErrorMode::KSysErrorMode(UINT mode) : previous(SetErrorMode(mode)) {}

KSysErrorMode::~KSysErrorMode()
{
    SetErrorMode(previous);
}
