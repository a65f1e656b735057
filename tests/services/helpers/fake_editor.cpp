// Stands in for an editor: writes its start-up flags, position, size and command line into "<file>.seen".
#include <windows.h>
#include <stdio.h>
#include <string>
int main(int argc, char** argv)
{
    STARTUPINFOW si = {sizeof(si)};
    GetStartupInfoW(&si);
    FILE* f = argc < 2 ? nullptr : fopen((std::string(argv[1]) + ".seen").c_str(), "w");
    return !f || fprintf(f, "%lu %lu,%lu %lux%lu\n%ls", si.dwFlags, si.dwX, si.dwY, si.dwXSize, si.dwYSize,
                         GetCommandLineW()) < 0 || fclose(f);
}
