/* wine-probe: exits with the number given as its first argument (0 without).
 * The build runs it under Wine to check that a program's exit code reaches
 * the caller, and to find out whether the installed Wine runs programs of
 * the architecture being built (32-bit programs need the 32-bit Wine). */
#include <stdlib.h>

int main(int argc, char **argv)
{
    return argc > 1 ? atoi(argv[1]) : 0;
}
