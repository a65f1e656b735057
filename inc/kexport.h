// Export macro of korvel.dll: every exported class and function is declared
// with KORVEL_API. The library itself is built with KORVEL_BUILD defined.
#ifndef KORVEL_KEXPORT_H
#define KORVEL_KEXPORT_H

#ifdef KORVEL_BUILD
#define KORVEL_API __declspec(dllexport)
#else
#define KORVEL_API __declspec(dllimport)
#endif

#endif
