// Korvel: the whole exported interface of korvel.dll.
#ifndef KORVEL_H
#define KORVEL_H

#include "kexport.h"
#include "ksystem.h"
#include "kmemory.h"
#include "array"
#include "kgeometry.h"
#include "kstring.h"
#include "kformat.h"
#include "kstrutil.h"
#include "kdatetime.h"
#include "kvalue.h"
#include "kdiag.h"
#include "kargs.h"
#include "kevent.h"
#include "ktimer.h"
#include "kmenu.h"
#include "kdrawobj.h"
#include "kgraphics.h"
#include "kwindow.h"
#include "kform.h"
#include "krowcol.h"
#include "ktoplevel.h"
#include "kapp.h"
#include "kregistry.h"
#include "kfile.h"
#include "kmacro.h"
#include "koptionfile.h"
#include "kpath.h"
#include "kdir.h"

#endif
